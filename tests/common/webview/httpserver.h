#pragma once
// A tiny HTTP server on 127.0.0.1 for web view tests. It serves the pages a test gives
// it and also answers as an HTTP proxy: a request whose target is a full address
// ("GET http://www.example.org/ HTTP/1.1") is recorded and answered with a small page
// naming that address, so nothing a test loads ever leaves the machine.
#include <QByteArray>
#include <QHash>
#include <QList>
#include <QObject>
#include <QSet>
#include <QString>
#include <QTcpServer>

class QTcpSocket;

namespace tavtest {

class HttpServer : public QObject {
    Q_OBJECT
public:
    struct Request {
        QByteArray method;
        QByteArray target;   // as sent: "/a" or "http://host/path" through the proxy
        QByteArray host;     // the Host header
        bool proxied() const { return target.startsWith("http://") || method == "CONNECT"; }
    };

    HttpServer();
    quint16 port() const { return m_server.serverPort(); }
    // "http://127.0.0.1:<port><path>"
    QString url(const QString &path) const;
    // "127.0.0.1:<port><path>": the same page named without a scheme.
    QString bareUrl(const QString &path) const;

    void setPage(const QString &path, const QByteArray &html);
    void setTitledPage(const QString &path, const QString &title, const QString &body = QString());
    // Requests for this path, or this full address through the proxy, are read but
    // never answered.
    void holdPath(const QString &path) { m_held.insert(path.toUtf8()); }
    // Requests from now on are answered again; those held so far stay unanswered.
    void releaseAll() { m_held.clear(); }

    QList<Request> requests;
    // Requests for one path (local pages) or one full address (proxied).
    int count(const QByteArray &target) const;
    QList<Request> proxiedRequests() const;

signals:
    void requestReceived(const tavtest::HttpServer::Request &request);

private:
    void onReadyRead(QTcpSocket *socket);
    void answer(QTcpSocket *socket, const Request &request);

    QTcpServer m_server;
    QHash<QByteArray, QByteArray> m_pages;
    QSet<QByteArray> m_held;
    QList<QTcpSocket *> m_heldSockets;
};

} // namespace tavtest
