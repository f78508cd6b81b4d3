#include "smtp_test_server.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace lumorra::testing {

namespace {

// Writes each accepted mail as <n>.eml plus <n>.json (envelope, TLS, login);
// the .json appears last, by rename, so a reader never sees half a mail.
// Every command it acts on goes to commands.log ("AUTH PLAIN 0": verb, AUTH
// mechanism, TLS at the time) before its answer, credentials never.
// Prints "PORT <n>" once listening; ends when its standard input closes.
const char kServerScript[] = R"PY(
import asyncio, json, os, ssl, sys
from aiosmtpd.smtp import SMTP, AuthResult, LoginPassword

outdir, mode, user, password = sys.argv[1], sys.argv[2], sys.argv[3].encode(), sys.argv[4].encode()
mechanisms = {}

class Handler:
    def __init__(self):
        self.count = 0
    async def handle_DATA(self, server, session, envelope):
        self.count += 1
        base = os.path.join(outdir, str(self.count))
        with open(base + ".eml", "wb") as f:
            f.write(envelope.original_content)
        login = session.auth_data.login.decode() if session.auth_data is not None else ""
        meta = {"from": envelope.mail_from, "to": envelope.rcpt_tos,
                "tls": secure(server, session), "login": login,
                "mechanism": mechanisms.get(id(session), "")}
        with open(base + ".tmp", "w") as f:
            json.dump(meta, f)
        os.rename(base + ".tmp", base + ".json")
        return "250 OK"

def secure(server, session):
    # After STARTTLS, or on a connection that was TLS from its first byte.
    return session.ssl is not None or server.transport.get_extra_info("ssl_object") is not None

class RecordingSMTP(SMTP):
    def __init__(self, *args, **kwargs):
        super().__init__(*args, **kwargs)
        for verb, method in list(self._smtp_methods.items()):
            self._smtp_methods[verb] = self._recorded(verb, method)
    def _recorded(self, verb, method):
        async def run(arg):
            words = [verb]
            if verb == "AUTH":
                words.append(arg.split()[0].upper() if arg else "")
            words.append("1" if secure(self, self.session) else "0")
            with open(os.path.join(outdir, "commands.log"), "a") as f:
                f.write(" ".join(words) + "\n")
            return await method(arg)
        return run

def authenticator(server, session, envelope, mechanism, auth_data):
    ok = isinstance(auth_data, LoginPassword) and auth_data.login == user and auth_data.password == password
    if ok:
        mechanisms[id(session)] = mechanism
    # handled=False: aiosmtpd then answers a refusal itself.
    return AuthResult(success=ok, handled=False, auth_data=auth_data)

async def silent(reader, writer):
    await reader.read()

async def main():
    loop = asyncio.get_running_loop()
    if mode == "silent":
        server = await asyncio.start_server(silent, "127.0.0.1", 0)
    else:
        tls = None
        if mode in ("starttls", "tls"):
            tls = ssl.create_default_context(ssl.Purpose.CLIENT_AUTH)
            tls.load_cert_chain(os.path.join(outdir, "cert.pem"), os.path.join(outdir, "key.pem"))
        starttls = tls if mode == "starttls" else None
        handler = Handler()
        def factory():
            return RecordingSMTP(handler, hostname="smtp.test", authenticator=authenticator,
                                 auth_required=True, auth_require_tls=(starttls is not None),
                                 tls_context=starttls, require_starttls=(starttls is not None))
        server = await loop.create_server(factory, "127.0.0.1", 0,
                                          ssl=(tls if mode == "tls" else None))
    print("PORT %d" % server.sockets[0].getsockname()[1], flush=True)
    stop = loop.create_future()
    loop.add_reader(sys.stdin.fileno(), lambda: stop.done() or (os.read(sys.stdin.fileno(), 1024) or stop.set_result(None)))
    await stop

asyncio.run(main())
)PY";

QString modeName(SmtpTestServer::Mode mode)
{
    switch (mode) {
    case SmtpTestServer::Mode::Plain: return QStringLiteral("plain");
    case SmtpTestServer::Mode::StartTls: return QStringLiteral("starttls");
    case SmtpTestServer::Mode::ImplicitTls: return QStringLiteral("tls");
    case SmtpTestServer::Mode::Silent: return QStringLiteral("silent");
    }
    return QString();
}

} // namespace

SmtpTestServer::SmtpTestServer(Mode mode) : m_mode(mode) {}

SmtpTestServer::~SmtpTestServer()
{
    if (m_process.state() != QProcess::NotRunning) {
        m_process.closeWriteChannel();
        if (!m_process.waitForFinished(3000)) {
            m_process.kill();
            m_process.waitForFinished(3000);
        }
    }
}

bool SmtpTestServer::start(QString* error)
{
    if (!m_dir.isValid()) {
        *error = QStringLiteral("no temporary directory");
        return false;
    }
    if (m_mode == Mode::StartTls || m_mode == Mode::ImplicitTls) {
        // A certificate for 127.0.0.1 that lives as long as this test.
        QProcess openssl;
        openssl.start(QStringLiteral("openssl"),
                      {QStringLiteral("req"), QStringLiteral("-x509"), QStringLiteral("-newkey"),
                       QStringLiteral("ec"), QStringLiteral("-pkeyopt"),
                       QStringLiteral("ec_paramgen_curve:prime256v1"), QStringLiteral("-nodes"),
                       QStringLiteral("-days"), QStringLiteral("1"), QStringLiteral("-subj"),
                       QStringLiteral("/CN=127.0.0.1"), QStringLiteral("-addext"),
                       QStringLiteral("subjectAltName=IP:127.0.0.1"), QStringLiteral("-keyout"),
                       m_dir.filePath(QStringLiteral("key.pem")), QStringLiteral("-out"),
                       m_dir.filePath(QStringLiteral("cert.pem"))});
        if (!openssl.waitForFinished(30000) || openssl.exitStatus() != QProcess::NormalExit
            || openssl.exitCode() != 0) {
            *error = QStringLiteral("openssl could not make a certificate: ")
                     + QString::fromLocal8Bit(openssl.readAllStandardError()) + openssl.errorString();
            return false;
        }
    }
    const QString script = m_dir.filePath(QStringLiteral("smtp_server.py"));
    QFile file(script);
    if (!file.open(QIODevice::WriteOnly) || file.write(kServerScript) < 0) {
        *error = QStringLiteral("cannot write the server script");
        return false;
    }
    file.close();

    // Debian's interpreter: the one that sees python3-aiosmtpd.
    m_process.start(QStringLiteral("/usr/bin/python3"),
                    {script, m_dir.path(), modeName(m_mode), user(), password()});
    if (!m_process.waitForStarted(10000)) {
        *error = QStringLiteral("cannot run /usr/bin/python3: ") + m_process.errorString();
        return false;
    }
    QByteArray said;
    while (!said.contains('\n')) {
        if (!m_process.waitForReadyRead(20000)) {
            *error = QStringLiteral("the SMTP server did not start: ")
                     + QString::fromLocal8Bit(said + m_process.readAllStandardError());
            return false;
        }
        said += m_process.readAllStandardOutput();
    }
    const QByteArray line = said.left(said.indexOf('\n')).trimmed();
    if (!line.startsWith("PORT ")) {
        *error = QStringLiteral("unexpected answer from the SMTP server: ") + QString::fromLocal8Bit(line);
        return false;
    }
    m_port = line.mid(5).toInt();
    return m_port > 0;
}

MailSettings SmtpTestServer::settings() const
{
    MailSettings s;
    s.host = QStringLiteral("127.0.0.1");
    s.port = m_port;
    s.user = user();
    s.password = password();
    s.from = QStringLiteral("sender@lumorra.test");
    s.to = QStringLiteral("service@tessaly.test");
    switch (m_mode) {
    case Mode::Plain: s.security = MailSecurity::None; break;
    case Mode::ImplicitTls: s.security = MailSecurity::Tls; break;
    case Mode::StartTls: // the default with an account: STARTTLS required
    case Mode::Silent: break;
    }
    if (m_mode == Mode::StartTls || m_mode == Mode::ImplicitTls)
        s.caFile = m_dir.filePath(QStringLiteral("cert.pem"));
    return s;
}

QList<SmtpTestServer::Command> SmtpTestServer::commands() const
{
    QList<Command> out;
    QFile log(m_dir.filePath(QStringLiteral("commands.log")));
    if (!log.open(QIODevice::ReadOnly))
        return out;
    for (const QByteArray& line : log.readAll().split('\n')) {
        const QList<QByteArray> words = line.split(' ');
        if (words.size() < 2)
            continue;
        out << Command{words.mid(0, words.size() - 1).join(' '), words.last() == "1"};
    }
    return out;
}

QList<SmtpTestServer::Mail> SmtpTestServer::received() const
{
    QList<Mail> out;
    for (int n = 1;; ++n) {
        QFile meta(m_dir.filePath(QStringLiteral("%1.json").arg(n)));
        if (!meta.open(QIODevice::ReadOnly))
            break;
        const QJsonObject o = QJsonDocument::fromJson(meta.readAll()).object();
        QFile eml(m_dir.filePath(QStringLiteral("%1.eml").arg(n)));
        if (!eml.open(QIODevice::ReadOnly))
            break;
        Mail m;
        m.content = eml.readAll();
        m.mailFrom = o.value(QStringLiteral("from")).toString().toUtf8();
        for (const QJsonValue& v : o.value(QStringLiteral("to")).toArray())
            m.rcptTos << v.toString().toUtf8();
        m.tls = o.value(QStringLiteral("tls")).toBool();
        m.login = o.value(QStringLiteral("login")).toString().toUtf8();
        m.mechanism = o.value(QStringLiteral("mechanism")).toString().toUtf8();
        out << m;
    }
    return out;
}

} // namespace lumorra::testing
