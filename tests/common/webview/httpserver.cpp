#include "httpserver.h"
#include <QTcpSocket>
#include <QUrl>

namespace tavtest {

HttpServer::HttpServer()
{
    m_server.listen(QHostAddress::LocalHost, 0);
    connect(&m_server, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket *socket = m_server.nextPendingConnection()) {
            socket->setParent(this);
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] { onReadyRead(socket); });
            connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        }
    });
}

QString HttpServer::url(const QString &path) const
{
    return QStringLiteral("http://127.0.0.1:%1%2").arg(port()).arg(path);
}

QString HttpServer::bareUrl(const QString &path) const
{
    return QStringLiteral("127.0.0.1:%1%2").arg(port()).arg(path);
}

void HttpServer::setPage(const QString &path, const QByteArray &html)
{
    m_pages.insert(path.toUtf8(), html);
}

void HttpServer::setTitledPage(const QString &path, const QString &title, const QString &body)
{
    setPage(path, QStringLiteral("<!DOCTYPE html><html><head><title>%1</title></head><body>%2</body></html>")
                      .arg(title, body.isEmpty() ? title : body)
                      .toUtf8());
}

int HttpServer::count(const QByteArray &target) const
{
    int n = 0;
    for (const Request &r : requests)
        n += r.target == target;
    return n;
}

QList<HttpServer::Request> HttpServer::proxiedRequests() const
{
    QList<Request> result;
    for (const Request &r : requests) {
        if (r.proxied())
            result << r;
    }
    return result;
}

void HttpServer::onReadyRead(QTcpSocket *socket)
{
    QByteArray buffer = socket->property("buffer").toByteArray() + socket->readAll();
    // Requests may come one after another on a kept-alive connection.
    for (;;) {
        const int end = buffer.indexOf("\r\n\r\n");
        if (end < 0)
            break;
        const QByteArray head = buffer.left(end);
        buffer.remove(0, end + 4);
        const QList<QByteArray> lines = head.split('\n');
        const QList<QByteArray> first = lines.value(0).trimmed().split(' ');
        Request request;
        request.method = first.value(0);
        request.target = first.value(1);
        for (const QByteArray &line : lines.mid(1)) {
            const int colon = line.indexOf(':');
            if (colon > 0 && line.left(colon).trimmed().toLower() == "host")
                request.host = line.mid(colon + 1).trimmed();
        }
        requests << request;
        emit requestReceived(request);
        answer(socket, request);
    }
    socket->setProperty("buffer", buffer);
}

void HttpServer::answer(QTcpSocket *socket, const Request &request)
{
    QByteArray path = request.target;
    QByteArray status = "200 OK";
    QByteArray body;
    if (request.method == "CONNECT") {
        status = "502 Bad Gateway";
        body = "no tunnels here";
    } else if (request.target.startsWith("http://")) {
        const QUrl url(QString::fromUtf8(request.target));
        if (url.host() == QLatin1String("127.0.0.1") && url.port() == port()) {
            path = url.path(QUrl::FullyEncoded).toUtf8();
            if (url.hasQuery())
                path += '?' + url.query(QUrl::FullyEncoded).toUtf8();
        } else if (m_held.contains(request.target)) {
            m_heldSockets << socket;
            return;
        } else {
            body = "<!DOCTYPE html><html><head><title>proxied " + url.host().toUtf8()
                   + "</title></head><body>proxied " + QString::fromUtf8(request.target).toHtmlEscaped().toUtf8() + "</body></html>";
            path.clear();
        }
    }
    if (!path.isEmpty()) {
        if (m_held.contains(path)) {
            m_heldSockets << socket;
            return;
        }
        if (m_pages.contains(path)) {
            body = m_pages.value(path);
        } else {
            status = "404 Not Found";
            body = "<html><head><title>not found</title></head><body>not found</body></html>";
        }
    }
    QByteArray reply = "HTTP/1.1 " + status + "\r\nContent-Type: text/html; charset=utf-8\r\n"
                       "Cache-Control: no-store\r\nContent-Length: " + QByteArray::number(body.size())
                       + "\r\nConnection: close\r\n\r\n" + body;
    socket->write(reply);
    socket->disconnectFromHost();
}

} // namespace tavtest
