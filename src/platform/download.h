#pragma once

#include <QString>

#include <filesystem>

namespace zeko {

// Fetches a URL into a file. The call returns when the transfer has ended; window events keep
// running meanwhile, so the start-up window still paints (its hand-over waits for the check
// to be done, so a tick or a click during the download starts nothing).
class FileDownloader {
  public:
    virtual ~FileDownloader() = default;
    // True when the whole file was stored at `path`. On false nothing is left at `path`.
    virtual bool DOWNLOAD_FILE(const QString& url, const std::filesystem::path& path) = 0;
};

// Over Qt Network. The file appears only complete: a transfer cut short, an error status or
// a timeout stores nothing.
class QtFileDownloader final : public FileDownloader {
  public:
    // A transfer silent for this long is given up.
    explicit QtFileDownloader(int timeout_ms = 30000) : timeout_ms_(timeout_ms) {}
    bool DOWNLOAD_FILE(const QString& url, const std::filesystem::path& path) override;

  private:
    int timeout_ms_;
};

}  // namespace zeko
