#include "platform/download.h"

#include <QEventLoop>
#include <QFile>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSaveFile>
#include <QUrl>

namespace zeko {

bool QtFileDownloader::DOWNLOAD_FILE(const QString& url, const std::filesystem::path& path) {
    const QString target = QFile::decodeName(path.c_str());
    QFile::remove(target);
    QNetworkAccessManager network;
    QNetworkRequest request{QUrl(url)};
    request.setTransferTimeout(timeout_ms_);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute,
                         QNetworkRequest::AlwaysNetwork);
    QNetworkReply* reply = network.get(request);
    // Written beside the target and renamed at the end, so a cut transfer leaves nothing.
    QSaveFile file(target);
    bool writable = file.open(QIODevice::WriteOnly);
    QObject::connect(reply, &QNetworkReply::readyRead, [&] {
        const QByteArray chunk = reply->readAll();
        if (writable && file.write(chunk) != chunk.size()) writable = false;
    });
    QEventLoop loop;
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    if (!reply->isFinished()) loop.exec();
    if (writable) {
        const QByteArray chunk = reply->readAll();
        if (file.write(chunk) != chunk.size()) writable = false;
    }
    const QVariant length = reply->header(QNetworkRequest::ContentLengthHeader);
    const bool complete =
        reply->error() == QNetworkReply::NoError &&
        reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt() == 200 &&
        (!length.isValid() || length.toLongLong() == file.size());
    if (!writable || !complete) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

}  // namespace zeko
