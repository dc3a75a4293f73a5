// The network fields of SharedSettings: what every new connection starts from,
// the discovery of the user's proxy, and the one-time reports of a switch.
//
// Threading: any thread. RecordProxy, RecordDns and GetChannel take the
// SharedSettings lock for one copy (and, for the records, the one-time event,
// whose logger lock is always taken last). DiscoverSystemProxy takes no lock
// and may block on WinHTTP (a proxy auto-configuration script is downloaded).
// Without a SharedSettings record (before the entry function creates it) the
// records and the channel are left alone.
#pragma once

#include <string>

#include "net/NetConfig.h"

class ILoggerServer;

// Sets proxy.type to 0, then to 1 with host and port when the user's Internet
// settings (a manual list, or an auto-configuration script asked for url) name
// an HTTP proxy. Never throws.
void DiscoverSystemProxy(const std::string& url, ProxyConfig& proxy);

// Stores the record in SharedSettings; the first call of the process also
// reports vNetworkCheck through logger (GetLoggerServer() when null).
void RecordProxy(const ProxyConfig& proxy, ILoggerServer* logger = nullptr);
void RecordDns(const DnsConfig& dns, ILoggerServer* logger = nullptr);

void GetChannel(std::string& channel);
