// The one process-wide settings record, created by the entry function and
// destroyed when it ends.
//
// Threading rules: uiScale and dpiFactor belong to the user-interface thread
// and are used without the lock. proxy, dns and channel are read and written
// only under lock, for one copy of a field group at a time, never across a
// network call (use the accessors below).
#pragma once

#include <string>

#include "net/NetConfig.h"
#include "sys/XMutex.h"

struct SharedSettings {
    double uiScale = 1.0;
    double dpiFactor = 1.0;
    ProxyConfig proxy;
    DnsConfig dns;
    std::string channel;  // UTF-8
    CXMutex lock;

    ProxyConfig GetProxy();
    void SetProxy(const ProxyConfig& value);
    DnsConfig GetDns();
    void SetDns(const DnsConfig& value);
    std::string GetChannel();
    void SetChannel(const std::string& value);
};

// The record of the running entry function; null before it is created and
// after it is destroyed.
SharedSettings* GetSharedSettings();

// Owns the record for the entry function's lifetime and publishes it.
class SharedSettingsScope {
public:
    SharedSettingsScope();
    ~SharedSettingsScope();
    SharedSettingsScope(const SharedSettingsScope&) = delete;
    SharedSettingsScope& operator=(const SharedSettingsScope&) = delete;
    SharedSettings& Get() { return settings_; }

private:
    SharedSettings settings_;
};
