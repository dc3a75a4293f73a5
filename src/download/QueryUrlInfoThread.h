// Finds where the package really is and what it is: follows the gateway's
// download URLs (or the CDN fallback) with HEAD requests through redirects,
// and collects the final URLs, the size and a local file name.
//
// Threading: the thread touches only its own fields until it hands its
// result to the owner, once, on this thread (OnUrlInfo does its own locking),
// and then sets done. Cancel: the destructor sets the stop flag, which every
// network step and every wait tests; it then waits for the thread without
// time-out, and the thread still hands over whatever it has.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "download/DownloadEnvironment.h"
#include "download/ParsedUrl.h"
#include "net/HttpMessage.h"
#include "sys/CorvanBasedThread.h"

struct UrlInfo {
    int64_t size = 0;
    std::wstring fileName;
    std::vector<std::string> urls;  // the final URL of every source with a size
};

class IUrlInfoOwner {
public:
    virtual void OnUrlInfo(const UrlInfo& info) = 0;

protected:
    ~IUrlInfoOwner() = default;
};

class QueryUrlInfoThread final : public CCorvanBasedThread {
public:
    // Returns once the thread runs. env must be complete (WithProcessDefaults).
    QueryUrlInfoThread(IUrlInfoOwner& owner, const DownloadEnvironment& env);
    ~QueryUrlInfoThread() override;

    uint32_t Run() override;

    bool IsDone() const { return done_.load(); }
    // The final URLs found; only meaningful once done.
    const std::vector<std::string>& Urls() const { return result_.urls; }

private:
    bool FromPackageInfo();
    void ProbeConnectivity();
    bool ProbeHost(const std::string& host) const;
    bool QueryUrl(const std::string& version, std::string url);
    std::vector<std::string> HeadFollow(std::string& url);
    ResponseHeader HeadWithRetries(const ParsedUrl& target);
    void ThrowIfStopped() const;

    std::atomic<bool> stop_{false};
    IUrlInfoOwner& owner_;
    DownloadEnvironment env_;
    UrlInfo result_;
    std::atomic<bool> started_{false};
    std::atomic<bool> done_{false};
    ParsedUrl current_;
};
