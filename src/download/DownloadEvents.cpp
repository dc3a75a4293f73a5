#include "download/DownloadEvents.h"

#include "report/EventCatalogue.h"
#include "report/LoggerServer.h"
#include "sys/CorvanError.h"

void ReportDownloadError(ILoggerServer* logger, const char* errorType, const char* errorStatus) {
    if (logger == nullptr) return;
    logger->ClearProperties();
    logger->SetStringProperty(catalogue::prop::kErrorType, errorType);
    logger->SetStringProperty(catalogue::prop::kErrorStatus, errorStatus);
    logger->SendEvent(catalogue::event::kSoftDownloadError);
}

void ReportDownloadResult(ILoggerServer* logger, const char* status, int32_t downloadTime) {
    if (logger == nullptr) return;
    logger->ClearProperties();
    logger->SetStringProperty(catalogue::prop::kSoftDownloadStatus, status);
    logger->SetIntProperty(catalogue::prop::kDownloadTime, downloadTime);
    logger->SendEvent(catalogue::event::kSoftDownloadResult);
}

void ReportDownloadStart(ILoggerServer* logger) {
    if (logger == nullptr) return;
    logger->ClearProperties();
    logger->SendEvent(catalogue::event::kSoftDownloadStart);
}

ParsedUrl ParseUrlOrReport(std::string_view url, ILoggerServer* logger) {
    try {
        return ParseUrl(url);
    } catch (const CorvanError&) {
        ReportDownloadError(logger, catalogue::value::kUrlInfoThreadError, catalogue::value::kInitFailed);
        throw CorvanError("init url failed");
    }
}
