#pragma once

// The sandbox game server as a child process of an end-to-end test, and plain HTTP requests
// to it that do not run the event loop. Needs ZEKO_SANDBOX_SERVER of the test program.

#include <sys/prctl.h>

#include <QProcess>
#include <QStringList>
#include <QTcpSocket>

#include <csignal>
#include <string>

namespace zeko::testing {

struct HttpReply {
    int status = 0;  // 0 when the server did not answer
    std::string body;
};

// One HTTP/1.1 request to the loopback server, answered and closed. Blocking, so no other
// event of the test program runs meanwhile.
inline HttpReply http(int port, const std::string& method, const std::string& path,
                      const std::string& body = {}) {
    QTcpSocket socket;
    socket.connectToHost(QStringLiteral("127.0.0.1"), static_cast<quint16>(port));
    if (!socket.waitForConnected(30000)) return {};
    // Every request carries its body's length, so a POST needs no other header here.
    socket.write(QByteArray::fromStdString(
        method + " " + path + " HTTP/1.1\r\nHost: 127.0.0.1\r\nContent-Type: " +
        "application/x-www-form-urlencoded\r\nContent-Length: " + std::to_string(body.size()) +
        "\r\nConnection: close\r\n\r\n" + body));
    QByteArray raw;
    while (socket.waitForReadyRead(30000))
        raw += socket.readAll();
    const qsizetype head_end = raw.indexOf("\r\n\r\n");
    if (!raw.startsWith("HTTP/1.1 ") || head_end < 0) return {};
    return {raw.mid(9, 3).toInt(), raw.mid(head_end + 4).toStdString()};
}

// The sandbox server on a free port, killed when the test ends (asked to stop, it would wait
// for the browser's idle keep-alive connections, and it holds nothing worth keeping).
class SandboxServer {
  public:
    explicit SandboxServer(const QStringList& extra_arguments = {}) {
        process_.setProgram(QStringLiteral(ZEKO_SANDBOX_SERVER));
        process_.setArguments(QStringList{QStringLiteral("--port"), QStringLiteral("0")} +
                              extra_arguments);
        process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        // A test program that crashes must not leave the server running.
        process_.setChildProcessModifier([] { prctl(PR_SET_PDEATHSIG, SIGTERM); });
        process_.start();
        while (process_.waitForStarted(30000) && !process_.canReadLine() &&
               process_.waitForReadyRead(30000)) {
        }
        const QByteArray line = process_.readLine().trimmed();
        if (line.startsWith("listening on 127.0.0.1:")) port_ = line.mid(23).toInt();
    }
    ~SandboxServer() {
        process_.kill();
        process_.waitForFinished(10000);
    }
    SandboxServer(const SandboxServer&) = delete;
    SandboxServer& operator=(const SandboxServer&) = delete;

    int port() const { return port_; }
    std::string host() const { return "127.0.0.1:" + std::to_string(port_); }
    std::string game_url() const { return "http://" + host() + "/blood.pl"; }
    HttpReply get(const std::string& path) const { return http(port_, "GET", path); }
    // Asks the server to stop: its exit code, -1 when it crashed.
    int stop() {
        process_.terminate();
        return process_.waitForFinished(30000) && process_.exitStatus() == QProcess::NormalExit
                   ? process_.exitCode()
                   : -1;
    }

  private:
    QProcess process_;
    int port_ = 0;
};

}  // namespace zeko::testing
