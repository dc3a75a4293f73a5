#include "core/SharedSettings.h"

#include <atomic>

namespace {
std::atomic<SharedSettings*> g_settings{nullptr};
}

ProxyConfig SharedSettings::GetProxy() {
    CXMutexLock hold(lock);
    return proxy;
}

void SharedSettings::SetProxy(const ProxyConfig& value) {
    CXMutexLock hold(lock);
    proxy = value;
}

DnsConfig SharedSettings::GetDns() {
    CXMutexLock hold(lock);
    return dns;
}

void SharedSettings::SetDns(const DnsConfig& value) {
    CXMutexLock hold(lock);
    dns = value;
}

std::string SharedSettings::GetChannel() {
    CXMutexLock hold(lock);
    return channel;
}

void SharedSettings::SetChannel(const std::string& value) {
    CXMutexLock hold(lock);
    channel = value;
}

SharedSettings* GetSharedSettings() { return g_settings.load(); }

SharedSettingsScope::SharedSettingsScope() { g_settings.store(&settings_); }

SharedSettingsScope::~SharedSettingsScope() { g_settings.store(nullptr); }
