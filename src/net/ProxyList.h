// The proxy list of the user's Internet settings ("http=host:port;https=...").
// Platform-free.
#pragma once

#include <string_view>

#include "net/NetConfig.h"

// Entries are separated by ";". An entry for the scheme "http" or without a
// scheme and with a host names an HTTP proxy; the last such entry wins and
// sets proxy to type 1 with its host and port. Returns whether one was found;
// proxy is left alone otherwise.
bool ParseProxyList(std::string_view list, ProxyConfig& proxy);
