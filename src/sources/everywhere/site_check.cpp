#include "sources/everywhere/site_check.h"

#include "net/site_config.h"
#include "sources/definitions/site_definitions.h"
#include "sources/source_table.h"

namespace lumorra {

QString siteCheckStateName(SiteCheckLine::State state)
{
    switch (state) {
    case SiteCheckLine::State::Checking: return QStringLiteral("checking");
    case SiteCheckLine::State::Answered: return QStringLiteral("ok");
    case SiteCheckLine::State::Empty: return QStringLiteral("empty");
    case SiteCheckLine::State::Failed: return QStringLiteral("failed");
    case SiteCheckLine::State::NotChecked: return QStringLiteral("skipped");
    }
    return {};
}

QString siteCheckStateText(SiteCheckLine::State state)
{
    switch (state) {
    case SiteCheckLine::State::Checking: return QStringLiteral("检查中");
    case SiteCheckLine::State::Answered: return QStringLiteral("正常");
    case SiteCheckLine::State::Empty: return QStringLiteral("无结果");
    case SiteCheckLine::State::Failed: return QStringLiteral("失败");
    case SiteCheckLine::State::NotChecked: return QStringLiteral("未检查");
    }
    return {};
}

const SourceEntry* checkingSource(const QString& role)
{
    const SourceEntry* search = nullptr;
    for (const SourceEntry& s : sourceTable()) {
        if (s.role != role || !s.create)
            continue;
        if (s.verb == SourceVerb::List)
            return &s;
        if (s.verb == SourceVerb::Search && !search)
            search = &s;
    }
    return search;
}

SourceRequest checkRequest(const SourceEntry& source)
{
    SourceRequest r;
    r.variant = source.variant;
    if (source.verb == SourceVerb::Search)
        r.keyword = source.checkWord;
    if (source.has(Services))
        r.services = {0};
    return r;
}

SiteCheck::SiteCheck(QObject* parent) : QObject(parent)
{
    m_timeout.setSingleShot(true);
    connect(&m_timeout, &QTimer::timeout, this, &SiteCheck::timedOut);
}

SiteCheck::~SiteCheck()
{
    for (SourceEngine* engine : std::as_const(m_engines))
        if (engine)
            engine->disconnect(this);
}

bool SiteCheck::allAnswered() const
{
    bool any = false;
    for (const SiteCheckLine& line : m_lines) {
        if (!line.checked())
            continue;
        if (line.state != SiteCheckLine::State::Answered)
            return false;
        any = true;
    }
    return any;
}

void SiteCheck::start(bool agreementAccepted)
{
    stop();
    m_lines.clear();
    m_running = true;
    m_clock.start();
    for (const QString& role : SiteConfig::roles()) {
        SiteCheckLine line;
        line.role = role;
        line.base = SiteConfig::current().base(role);
        line.source = checkingSource(role);
        if (!line.source) {
            line.state = SiteCheckLine::State::NotChecked;
            line.reason = QStringLiteral("没有可检查的来源");
        } else if (line.base.isEmpty()) {
            line.state = SiteCheckLine::State::NotChecked;
            line.reason = QStringLiteral("sites.ini 中未配置地址");
        } else if (line.source->has(NeedsAgreement) && !agreementAccepted) {
            line.state = SiteCheckLine::State::NotChecked;
            line.reason = QStringLiteral("未同意使用协议");
        }
        m_lines << line;
    }
    // A site a definition file added has its own base: checked under its name.
    for (const SiteDefinitionPtr& d : SiteDefinitions::current().added()) {
        const SourceEntry* source = findSourceEntry(SourceVerb::Search, d->name);
        if (!source)
            source = findSourceEntry(SourceVerb::List, d->name);
        if (!source)
            continue;
        SiteCheckLine line;
        line.role = d->name;
        line.base = SiteDefinitions::baseOf(*d);
        line.source = source;
        if (line.base.isEmpty()) {
            line.state = SiteCheckLine::State::NotChecked;
            line.reason = QStringLiteral("sites.ini 中未配置地址");
        } else if (source->has(NeedsAgreement) && !agreementAccepted) {
            line.state = SiteCheckLine::State::NotChecked;
            line.reason = QStringLiteral("未同意使用协议");
        }
        m_lines << line;
    }
    emit started();
    for (int i = 0; i < m_lines.size(); ++i) {
        SourceEngine* engine = nullptr;
        if (m_lines[i].state == SiteCheckLine::State::Checking) {
            engine = m_lines[i].source->createEngine(Pacing::immediate(), this);
            connect(engine, &SourceEngine::finished, this,
                    [this, i](const SourceOutcome& outcome) { ended(i, outcome); });
        }
        m_engines << engine;
    }
    m_timeout.start(m_timeoutMs);
    for (int i = 0; i < m_engines.size() && m_running; ++i)
        if (SourceEngine* engine = m_engines[i])
            engine->start(checkRequest(*m_lines[i].source));
    endIfDone();
}

void SiteCheck::ended(int index, const SourceOutcome& outcome)
{
    SiteCheckLine& line = m_lines[index];
    line.ms = outcome.elapsedMs;
    line.rows = outcome.rowCount;
    switch (outcome.kind) {
    case SourceOutcome::Kind::Rows: line.state = SiteCheckLine::State::Answered; break;
    case SourceOutcome::Kind::NoRows:
        line.state = SiteCheckLine::State::Empty;
        line.reason = outcome.reason;
        break;
    case SourceOutcome::Kind::Failed:
        line.state = SiteCheckLine::State::Failed;
        line.reason = outcome.reason;
        break;
    case SourceOutcome::Kind::Superseded:
    case SourceOutcome::Kind::Cancelled:
        return;
    }
    if (SourceEngine* engine = m_engines.value(index)) {
        m_engines[index] = nullptr;
        engine->deleteLater();
    }
    emit lineChanged(index);
    endIfDone();
}

void SiteCheck::timedOut()
{
    const QString reason = QStringLiteral("超时：%1 秒内没有完成").arg((m_timeoutMs + 999) / 1000);
    for (int i = 0; i < m_lines.size(); ++i) {
        if (m_lines[i].state != SiteCheckLine::State::Checking)
            continue;
        m_lines[i].state = SiteCheckLine::State::Failed;
        m_lines[i].reason = reason;
        m_lines[i].ms = m_clock.elapsed();
        if (SourceEngine* engine = m_engines.value(i)) {
            m_engines[i] = nullptr;
            engine->disconnect(this);
            engine->cancel();
            engine->deleteLater();
        }
        emit lineChanged(i);
    }
    endIfDone();
}

void SiteCheck::stop()
{
    m_timeout.stop();
    for (SourceEngine* engine : std::as_const(m_engines)) {
        if (!engine)
            continue;
        engine->disconnect(this);
        engine->cancel();
        engine->deleteLater();
    }
    m_engines.clear();
    m_running = false;
}

void SiteCheck::endIfDone()
{
    if (!m_running)
        return;
    for (const SiteCheckLine& line : std::as_const(m_lines))
        if (line.state == SiteCheckLine::State::Checking)
            return;
    m_timeout.stop();
    m_running = false;
    emit finished();
}

} // namespace lumorra
