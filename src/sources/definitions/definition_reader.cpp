#include "sources/definitions/definition_reader.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <QStringDecoder>

#include <yaml-cpp/yaml.h>

#include <cstring>
#include <string>

namespace lumorra {

namespace {

constexpr int kMostNesting = 32; // a definition needs four levels
constexpr int kMostSteps = 64;   // per field, after lists are spread
constexpr int kMostTableRows = 1000;
constexpr int kMostTexts = 64; // per table cell

const QSet<QString>& topKeys()
{
    static const QSet<QString> keys{QStringLiteral("site"), QStringLiteral("scheme"), QStringLiteral("role"),
        QStringLiteral("base"), QStringLiteral("caption"), QStringLiteral("fetch"), QStringLiteral("charset"),
        QStringLiteral("record"), QStringLiteral("urls"), QStringLiteral("fields"), QStringLiteral("texts"),
        QStringLiteral("tables")};
    return keys;
}

QString q(const QString& s)
{
    return QLatin1Char('\'') + s + QLatin1Char('\'');
}

int lineOf(const YAML::Node& node)
{
    const YAML::Mark m = node.Mark();
    return m.line >= 0 ? m.line + 1 : 0;
}

// The parser recurses once per level of nesting: a file of ten thousand
// "[" would exhaust the stack before it could say what is wrong. No
// definition comes near the limit, so refuse deeper text unread.
int deepestNesting(const QByteArray& bytes, int* lineOut)
{
    int depth = 0, deepest = 0, line = 1;
    int lineDashes = 0;
    bool lineStart = true;
    char quote = 0; // inside a quoted text: its quote character
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const char c = bytes.at(i);
        const char before = i > 0 ? bytes.at(i - 1) : '\n';
        if (c == '\n') {
            ++line;
            lineStart = true;
            lineDashes = 0;
            continue;
        }
        // Brackets inside quoted texts and comments are markers, not nesting.
        if (quote) {
            if (quote == '"' && c == '\\')
                ++i; // an escaped character
            else if (c == quote && quote == '\'' && i + 1 < bytes.size() && bytes.at(i + 1) == '\'')
                ++i; // '' is a quote inside a single-quoted text
            else if (c == quote)
                quote = 0;
            continue;
        }
        const bool atScalarStart = std::strchr(" \t[{,:-", before) != nullptr || before == '\n';
        if ((c == '\'' || c == '"') && atScalarStart) {
            quote = c;
            lineStart = false;
            continue;
        }
        if (c == '#' && (before == ' ' || before == '\t' || before == '\n')) {
            while (i + 1 < bytes.size() && bytes.at(i + 1) != '\n')
                ++i;
            continue;
        }
        if (c == '[' || c == '{')
            ++depth;
        else if ((c == ']' || c == '}') && depth > 0)
            --depth;
        if (lineStart && (c == '-' || c == '?' || c == ':') && i + 1 < bytes.size()
            && (bytes.at(i + 1) == ' ' || bytes.at(i + 1) == '\t'))
            ++lineDashes;
        else if (c != ' ' && c != '\t')
            lineStart = false;
        const int here = depth + lineDashes;
        if (here > deepest) {
            deepest = here;
            *lineOut = line;
        }
    }
    return deepest;
}

class Reader {
public:
    Reader(QString file, const SiteDefinition* model) : m_file(std::move(file)), m_model(model) { }

    DefinitionRead read(const QByteArray& bytes);

private:
    void problem(int line, const QString& what) { m_problems.append({m_file, line, what}); }
    void problem(const YAML::Node& node, const QString& what) { problem(lineOf(node), what); }

    bool scalar(const YAML::Node& node, const QString& where, QString* out);
    void readTop(const YAML::Node& root, SiteDefinition& d);
    void readTexts(const YAML::Node& node, const QString& where, QHash<QString, QString>* out);
    void readFields(const YAML::Node& node, SiteDefinition& d);
    bool readField(const YAML::Node& node, const QString& where, FieldCut* out);
    bool readStep(const YAML::Node& node, const QString& where, QList<CutStep>* out);
    void readTables(const YAML::Node& node, SiteDefinition& d);
    void checkAgainstModel(const YAML::Node& root, const SiteDefinition& d);

    QString m_file;
    const SiteDefinition* m_model;
    QList<DefinitionProblem> m_problems;
};

bool Reader::scalar(const YAML::Node& node, const QString& where, QString* out)
{
    if (!node.IsScalar()) {
        problem(node, where + QStringLiteral(": a text is needed here"));
        return false;
    }
    *out = QString::fromStdString(node.Scalar());
    return true;
}

void Reader::readTexts(const YAML::Node& node, const QString& where, QHash<QString, QString>* out)
{
    if (!node.IsMap()) {
        problem(node, where + QStringLiteral(": a list of 'name: text' lines is needed here"));
        return;
    }
    for (const auto& kv : node) {
        const QString key = QString::fromStdString(kv.first.as<std::string>(std::string()));
        QString value;
        if (out->contains(key))
            problem(kv.first, where + QStringLiteral(": ") + q(key) + QStringLiteral(" is written twice"));
        else if (scalar(kv.second, where + QStringLiteral(": ") + key, &value))
            out->insert(key, value);
    }
}

bool Reader::readStep(const YAML::Node& node, const QString& where, QList<CutStep>* out)
{
    // The one move without a text is written alone: "- trim".
    if (node.IsScalar() && node.Scalar() == "trim") {
        CutStep trim;
        trim.op = CutStep::Op::Trim;
        out->append(trim);
        return true;
    }
    if (!node.IsMap() || node.size() != 1) {
        problem(node, where + QStringLiteral(": each step is one 'move: text' line"));
        return false;
    }
    const auto kv = *node.begin();
    const QString move = QString::fromStdString(kv.first.as<std::string>(std::string()));
    const YAML::Node& arg = kv.second;
    const QString at = where + QStringLiteral(": ") + move;
    using Op = CutStep::Op;
    static const QHash<QString, Op> simple{{QStringLiteral("upto"), Op::UpTo},
        {QStringLiteral("before"), Op::Before}, {QStringLiteral("after"), Op::After},
        {QStringLiteral("prefix"), Op::Prefix}, {QStringLiteral("suffix"), Op::Suffix},
        {QStringLiteral("before-if-any"), Op::BeforeIfAny}};

    CutStep step;
    if (move == QLatin1String("piece")) {
        step.op = Op::Piece;
        if (arg.IsMap()) {
            const YAML::Node marker = arg["marker"];
            const YAML::Node n = arg["n"];
            if (!marker || !n || arg.size() != 2) {
                problem(arg, at + QStringLiteral(": write 'piece: marker' or 'piece: {marker: …, n: 1}'"));
                return false;
            }
            if (!scalar(marker, at, &step.text))
                return false;
            bool okN = false;
            step.n = QString::fromStdString(n.as<std::string>(std::string())).toInt(&okN);
            if (!okN || step.n < 1 || step.n > 32767) {
                problem(n, at + QStringLiteral(": n is a number from 1 to 32767"));
                return false;
            }
        } else if (!scalar(arg, at, &step.text)) {
            return false;
        }
        if (step.text.isEmpty()) {
            problem(arg, at + QStringLiteral(": an empty marker never occurs"));
            return false;
        }
    } else if (move == QLatin1String("erase")) {
        // One text or a list of them, erased in turn.
        QStringList texts;
        if (arg.IsSequence()) {
            for (const YAML::Node& t : arg) {
                QString s;
                if (!scalar(t, at, &s))
                    return false;
                texts << s;
            }
        } else {
            QString s;
            if (!scalar(arg, at, &s))
                return false;
            texts << s;
        }
        for (const QString& t : texts) {
            if (t.isEmpty()) {
                problem(arg, at + QStringLiteral(": erasing an empty text does nothing"));
                return false;
            }
            CutStep e;
            e.op = Op::Erase;
            e.text = t;
            out->append(e);
        }
        return true;
    } else if (move == QLatin1String("replace") || move == QLatin1String("preg")) {
        const bool isPreg = move == QLatin1String("preg");
        const char* fromKey = isPreg ? "pattern" : "from";
        const YAML::Node from = arg.IsMap() ? arg[fromKey] : YAML::Node();
        const YAML::Node to = arg.IsMap() ? arg["to"] : YAML::Node();
        if (!from || !to || arg.size() != 2) {
            problem(arg,
                at
                    + (isPreg ? QStringLiteral(": write 'preg: {pattern: …, to: …}'")
                              : QStringLiteral(": write 'replace: {from: …, to: …}'")));
            return false;
        }
        if (!scalar(from, at, &step.text) || !scalar(to, at, &step.with))
            return false;
        step.op = isPreg ? Op::Preg : Op::Replace;
        if (step.text.isEmpty()) {
            problem(from, at + QStringLiteral(": the text to replace is empty"));
            return false;
        }
        if (isPreg) {
            const QRegularExpression re(step.text);
            if (!re.isValid()) {
                problem(from,
                    at + QStringLiteral(": the pattern does not compile (") + re.errorString()
                        + QLatin1Char(')'));
                return false;
            }
        }
    } else if (move == QLatin1String("trim")) {
        step.op = Op::Trim;
    } else if (simple.contains(move)) {
        step.op = simple.value(move);
        if (!scalar(arg, at, &step.text))
            return false;
        if (step.text.isEmpty() && step.op != Op::Prefix && step.op != Op::Suffix) {
            problem(arg, at + QStringLiteral(": the text is empty"));
            return false;
        }
        step.usesBase = step.text.contains(QStringLiteral("{base}"));
    } else {
        problem(kv.first,
            where + QStringLiteral(": unknown step ") + q(move)
                + QStringLiteral(" (piece, upto, before, after, before-if-any, erase, replace, "
                                 "prefix, suffix, trim, preg)"));
        return false;
    }
    out->append(step);
    return true;
}

bool Reader::readField(const YAML::Node& node, const QString& where, FieldCut* out)
{
    if (!node.IsSequence() || node.size() == 0) {
        problem(node, where + QStringLiteral(": a list of steps is needed here ('- piece: …')"));
        return false;
    }
    for (const YAML::Node& s : node) {
        if (!readStep(s, where, &out->steps))
            return false;
        if (out->steps.size() > kMostSteps) {
            problem(s, where + QStringLiteral(": more than %1 steps").arg(kMostSteps));
            return false;
        }
    }
    return true;
}

void Reader::readFields(const YAML::Node& node, SiteDefinition& d)
{
    if (!node.IsMap()) {
        problem(node, QStringLiteral("fields: a list of 'name:' entries is needed here"));
        return;
    }
    for (const auto& kv : node) {
        const QString key = QString::fromStdString(kv.first.as<std::string>(std::string()));
        FieldCut field;
        if (d.fields.contains(key))
            problem(kv.first, QStringLiteral("fields: ") + q(key) + QStringLiteral(" is written twice"));
        else if (readField(kv.second, QStringLiteral("fields: ") + key, &field)) {
            d.fields.insert(key, field);
        }
    }
}

void Reader::readTables(const YAML::Node& node, SiteDefinition& d)
{
    if (!node.IsMap()) {
        problem(node, QStringLiteral("tables: a list of 'name:' entries is needed here"));
        return;
    }
    for (const auto& kv : node) {
        const QString key = QString::fromStdString(kv.first.as<std::string>(std::string()));
        const QString at = QStringLiteral("tables: ") + key;
        if (d.tables.contains(key)) {
            problem(kv.first, QStringLiteral("tables: ") + q(key) + QStringLiteral(" is written twice"));
            continue;
        }
        if (!kv.second.IsSequence() || kv.second.size() > kMostTableRows) {
            problem(kv.second, at + QStringLiteral(": a list of rows ('- key: text') is needed here"));
            continue;
        }
        QList<TableRow> rows;
        bool good = true;
        for (const YAML::Node& row : kv.second) {
            if (!row.IsMap()) {
                problem(row, at + QStringLiteral(": each row is a set of 'key: text' or 'key: [texts]'"));
                good = false;
                break;
            }
            TableRow r;
            for (const auto& cell : row) {
                const QString name = QString::fromStdString(cell.first.as<std::string>(std::string()));
                QStringList texts;
                if (cell.second.IsSequence() && cell.second.size() <= kMostTexts) {
                    for (const YAML::Node& t : cell.second) {
                        QString s;
                        if (!scalar(t, at + QStringLiteral(": ") + name, &s)) {
                            good = false;
                            break;
                        }
                        texts << s;
                    }
                } else {
                    QString s;
                    good = scalar(cell.second, at + QStringLiteral(": ") + name, &s) && good;
                    texts << s;
                }
                r.insert(name, texts);
            }
            if (!good)
                break;
            rows << r;
        }
        if (good)
            d.tables.insert(key, rows);
    }
}

void Reader::readTop(const YAML::Node& root, SiteDefinition& d)
{
    QSet<QString> seen;
    for (const auto& kv : root) {
        const QString key = QString::fromStdString(kv.first.as<std::string>(std::string()));
        if (!topKeys().contains(key))
            problem(kv.first, QStringLiteral("unknown key ") + q(key));
        else if (seen.contains(key))
            problem(kv.first, q(key) + QStringLiteral(" is written twice"));
        seen.insert(key);
    }
    auto text = [&](const char* key, QString* out) {
        if (const YAML::Node n = root[key])
            scalar(n, QString::fromLatin1(key), out);
    };
    QString site;
    text("site", &site);
    if (!site.isEmpty() && site != d.name)
        problem(root["site"],
            QStringLiteral("site: ") + q(site) + QStringLiteral(" is not the file's name ") + q(d.name));
    text("scheme", &d.scheme);
    text("role", &d.role);
    text("base", &d.base);
    text("caption", &d.caption);
    text("fetch", &d.fetch);
    text("charset", &d.charset);
    text("record", &d.record);

    static const QStringList fetchKinds{
        QStringLiteral("GetBody"), QStringLiteral("GetBodyPlain"), QStringLiteral("Transfer")};
    if (!fetchKinds.contains(d.fetch))
        problem(root["fetch"],
            QStringLiteral("fetch: ") + q(d.fetch)
                + QStringLiteral(" is none of GetBody, GetBodyPlain, Transfer"));
    if (!QStringDecoder(d.charset.toLatin1().constData()).isValid())
        problem(
            root["charset"], QStringLiteral("charset: ") + q(d.charset) + QStringLiteral(" is not known"));
    if (!d.base.isEmpty() && !d.base.startsWith(QLatin1String("http://"))
        && !d.base.startsWith(QLatin1String("https://")) && !d.base.startsWith(QLatin1Char('{')))
        problem(root["base"],
            QStringLiteral("base: an http:// or https:// address (or {Role} of sites.ini) is needed"));
    if (const YAML::Node n = root["record"]; n && d.record.isEmpty())
        problem(n, QStringLiteral("record: an empty marker never occurs"));

    if (const YAML::Node n = root["urls"])
        readTexts(n, QStringLiteral("urls"), &d.urls);
    if (const YAML::Node n = root["texts"])
        readTexts(n, QStringLiteral("texts"), &d.texts);
    if (const YAML::Node n = root["fields"])
        readFields(n, d);
    if (const YAML::Node n = root["tables"])
        readTables(n, d);
}

void Reader::checkAgainstModel(const YAML::Node& root, const SiteDefinition& d)
{
    const SiteDefinition& m = *m_model;
    if (d.scheme != m.scheme) {
        problem(root["scheme"],
            QStringLiteral("scheme: ") + q(d.scheme) + QStringLiteral(", but this site is ") + q(m.scheme));
        return;
    }
    auto missing = [&](const char* section, const QString& key) {
        const YAML::Node n = root[section];
        problem(n ? n : root,
            QString::fromLatin1(section) + QStringLiteral(": ") + q(key) + QStringLiteral(" is missing (the ")
                + q(m.scheme) + QStringLiteral(" scheme needs it)"));
    };
    if (!m.record.isEmpty() && d.record.isEmpty())
        problem(root, QStringLiteral("record: the record marker is missing"));
    for (auto it = m.urls.cbegin(); it != m.urls.cend(); ++it)
        if (!d.urls.contains(it.key()))
            missing("urls", it.key());
    for (auto it = m.fields.cbegin(); it != m.fields.cend(); ++it)
        if (!d.fields.contains(it.key()))
            missing("fields", it.key());
    for (auto it = m.texts.cbegin(); it != m.texts.cend(); ++it)
        if (!d.texts.contains(it.key()))
            missing("texts", it.key());
    for (auto it = m.tables.cbegin(); it != m.tables.cend(); ++it)
        if (!d.tables.contains(it.key()))
            missing("tables", it.key());
}

DefinitionRead Reader::read(const QByteArray& bytes)
{
    DefinitionRead out;
    auto d = std::make_shared<SiteDefinition>();
    d->name = QFileInfo(m_file).completeBaseName();
    if (bytes.size() > kMostDefinitionBytes) {
        problem(0, QStringLiteral("the file is larger than %1 KiB").arg(kMostDefinitionBytes / 1024));
        out.problems = m_problems;
        return out;
    }
    int deepLine = 0;
    if (deepestNesting(bytes, &deepLine) > kMostNesting) {
        problem(deepLine, QStringLiteral("nested more than %1 levels deep").arg(kMostNesting));
        out.problems = m_problems;
        return out;
    }
    try {
        const YAML::Node root = YAML::Load(bytes.toStdString());
        if (!root.IsMap()) {
            problem(root, QStringLiteral("a definition is a set of 'key: value' lines"));
        } else {
            readTop(root, *d);
            if (d->scheme.isEmpty())
                problem(root, QStringLiteral("scheme: missing (the shipped site whose engine it runs)"));
            else if (m_problems.isEmpty() && m_model)
                checkAgainstModel(root, *d);
        }
    } catch (const YAML::Exception& e) {
        problem(e.mark.line >= 0 ? e.mark.line + 1 : 0, QString::fromStdString(e.msg));
    } catch (const std::exception& e) {
        problem(0, QString::fromLocal8Bit(e.what()));
    }
    out.problems = m_problems;
    if (m_problems.isEmpty())
        out.definition = std::move(d);
    return out;
}

} // namespace

QString DefinitionProblem::text() const
{
    const QString where = QFileInfo(file).fileName();
    return line > 0 ? QStringLiteral("%1:%2: %3").arg(where).arg(line).arg(what)
                    : QStringLiteral("%1: %2").arg(where, what);
}

DefinitionRead readDefinition(const QByteArray& bytes, const QString& fileName, const SiteDefinition* model)
{
    return Reader(fileName, model).read(bytes);
}

} // namespace lumorra
