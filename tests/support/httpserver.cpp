#include "httpserver.h"

#include <QHostAddress>
#include <QPointer>
#include <QTcpSocket>
#include <QTimer>

namespace {

QByteArray reason(int status)
{
    switch (status) {
    case 200:
        return "OK";
    case 302:
        return "Found";
    case 303:
        return "See Other";
    case 404:
        return "Not Found";
    default:
        return "Status";
    }
}

} // namespace

HttpServer::Response HttpServer::Response::html(const QByteArray &body, int delayMs)
{
    Response response;
    response.body = body;
    response.delayMs = delayMs;
    return response;
}

HttpServer::Response HttpServer::Response::redirect(const QByteArray &location)
{
    Response response;
    response.status = 303;
    response.headers.append({ "Location", location });
    return response;
}

HttpServer::HttpServer(QObject *parent)
    : QObject(parent)
{
    connect(&m_server, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket *socket = m_server.nextPendingConnection()) {
            socket->setParent(this);
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] { readFrom(socket); });
            connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
                m_buffers.remove(socket);
                socket->deleteLater();
            });
        }
    });
}

HttpServer::~HttpServer() = default;

bool HttpServer::start()
{
    return m_server.listen(QHostAddress::LocalHost, 0);
}

QUrl HttpServer::url(const QString &pathAndQuery) const
{
    return QUrl(QStringLiteral("http://127.0.0.1:%1%2").arg(port()).arg(pathAndQuery));
}

QList<HttpServer::Request> HttpServer::requestsFor(const QByteArray &path) const
{
    QList<Request> found;
    for (const Request &request : m_requests) {
        if (request.path() == path)
            found.append(request);
    }
    return found;
}

void HttpServer::readFrom(QTcpSocket *socket)
{
    QByteArray &buffer = m_buffers[socket];
    buffer += socket->readAll();
    const int headerEnd = buffer.indexOf("\r\n\r\n");
    if (headerEnd < 0)
        return;
    const QList<QByteArray> lines = buffer.left(headerEnd).split('\n');
    Request request;
    const QList<QByteArray> requestLine = lines.value(0).trimmed().split(' ');
    request.method = requestLine.value(0);
    request.target = requestLine.value(1);
    for (int i = 1; i < lines.size(); ++i) {
        const QByteArray line = lines.at(i).trimmed();
        const int colon = line.indexOf(':');
        if (colon > 0)
            request.headers.insert(line.left(colon).trimmed().toLower(), line.mid(colon + 1).trimmed());
    }
    const qsizetype length = request.headers.value("content-length", "0").toLongLong();
    if (buffer.size() - (headerEnd + 4) < length)
        return; // the rest of the body is still on its way
    request.body = buffer.mid(headerEnd + 4, length);
    m_buffers.remove(socket);
    disconnect(socket, &QTcpSocket::readyRead, this, nullptr);
    m_requests.append(request);
    emit requestReceived(request);
    answer(socket, request);
}

void HttpServer::answer(QTcpSocket *socket, const Request &request)
{
    Response response;
    response.status = 0;
    if (m_handler)
        response = m_handler(request);
    if (response.status == 0) {
        const auto page = m_pages.constFind(request.path());
        if (page != m_pages.constEnd()) {
            response = *page;
        } else {
            response
                = Response::html("<html><head><title>Not found</title></head><body>Not found</body></html>");
            response.status = 404;
        }
    }
    QByteArray bytes
        = "HTTP/1.1 " + QByteArray::number(response.status) + ' ' + reason(response.status) + "\r\n";
    bytes += "Content-Type: " + response.contentType + "\r\n";
    bytes += "Content-Length: " + QByteArray::number(response.body.size()) + "\r\n";
    bytes += "Cache-Control: no-store\r\nConnection: close\r\n";
    for (const auto &header : response.headers)
        bytes += header.first + ": " + header.second + "\r\n";
    bytes += "\r\n" + response.body;

    QPointer<QTcpSocket> target(socket);
    const auto send = [target, bytes] {
        if (!target)
            return;
        target->write(bytes);
        target->disconnectFromHost();
    };
    if (response.delayMs > 0)
        QTimer::singleShot(response.delayMs, this, send);
    else
        send();
}
