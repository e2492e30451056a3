#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QObject>
#include <QTcpServer>
#include <QUrl>

#include <functional>

class QTcpSocket;

// A small HTTP/1.1 server on 127.0.0.1 for web tests. It answers from a table of pages (by path,
// query ignored) or from a handler, and records every request exactly as it arrived. Each answer
// closes its connection. Lives on the test's thread; runs while the test's event loop runs.
class HttpServer final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(HttpServer)

public:
    struct Request
    {
        QByteArray method; // "GET", "POST", ...
        QByteArray target; // path and query, as sent
        QHash<QByteArray, QByteArray> headers; // names in lower case
        QByteArray body; // the exact bytes after the header block

        QByteArray path() const
        {
            return target.left(target.indexOf('?') < 0 ? target.size() : target.indexOf('?'));
        }
        QByteArray query() const
        {
            return target.indexOf('?') < 0 ? QByteArray() : target.mid(target.indexOf('?') + 1);
        }
    };

    struct Response
    {
        int status = 200;
        QByteArray contentType = "text/html; charset=utf-8";
        QByteArray body;
        QList<QPair<QByteArray, QByteArray>> headers; // extra header lines, e.g. Location, Set-Cookie
        int delayMs = 0; // answer this much later

        static Response html(const QByteArray &body, int delayMs = 0);
        static Response redirect(const QByteArray &location);
    };

    using Handler = std::function<Response(const Request &)>;

    explicit HttpServer(QObject *parent = nullptr);
    ~HttpServer() override;

    // Listens on 127.0.0.1 at a free port.
    bool start();
    // Stops listening; a later request to the port finds nobody.
    void close() { m_server.close(); }
    quint16 port() const { return m_server.serverPort(); }
    // http://127.0.0.1:PORT + pathAndQuery (which starts with "/").
    QUrl url(const QString &pathAndQuery) const;

    void setPage(const QByteArray &path, const Response &response) { m_pages.insert(path, response); }
    void setPage(const QByteArray &path, const QByteArray &html)
    {
        m_pages.insert(path, Response::html(html));
    }
    // Asked first for every request; a status of 0 falls through to the table of pages.
    void setHandler(Handler handler) { m_handler = std::move(handler); }

    QList<Request> requests() const { return m_requests; }
    // The requests for one path, in arrival order.
    QList<Request> requestsFor(const QByteArray &path) const;
    void clearRequests() { m_requests.clear(); }

signals:
    void requestReceived(const HttpServer::Request &request);

private:
    void readFrom(QTcpSocket *socket);
    void answer(QTcpSocket *socket, const Request &request);

    QTcpServer m_server;
    QHash<QByteArray, Response> m_pages;
    Handler m_handler;
    QList<Request> m_requests;
    QHash<QTcpSocket *, QByteArray> m_buffers;
};
