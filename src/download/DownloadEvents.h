// The events of the download engine, each sent as clear, set, send.
#pragma once

#include <cstdint>
#include <string_view>

#include "download/ParsedUrl.h"

class ILoggerServer;

void ReportDownloadError(ILoggerServer* logger, const char* errorType, const char* errorStatus);
void ReportDownloadResult(ILoggerServer* logger, const char* status, int32_t downloadTime);
void ReportDownloadStart(ILoggerServer* logger);

// ParseUrl; an unusable URL is reported as "初始化失败" and raised as
// "init url failed".
ParsedUrl ParseUrlOrReport(std::string_view url, ILoggerServer* logger);
