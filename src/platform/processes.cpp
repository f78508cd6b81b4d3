#include "platform/processes.h"

#include <QByteArray>
#include <QList>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <csignal>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/types.h>
#include <unistd.h>
#include <string>
#include <utility>

namespace lumorra {

namespace {

// The kernel keeps only this many characters of a task name.
constexpr int kTaskCommLength = 15;

constexpr const char* kRealProcessTable = "/proc";

// Where exitproc() and the watch read the process table.
std::string& tableRoot()
{
    static std::string root = kRealProcessTable;
    return root;
}

// Room for the root, a pid and a file name.
using ProcPath = char[4200];

QString baseName(const QByteArray& path)
{
    int cut = -1;
    for (int i = path.size() - 1; i >= 0; --i) {
        if (path[i] == '/' || path[i] == '\\') {
            cut = i;
            break;
        }
    }
    return QString::fromLocal8Bit(path.mid(cut + 1));
}

// Reads a small /proc file; an empty array when it cannot be read.
QByteArray readSmallFile(const char* path, int maxBytes)
{
    const int fd = ::open(path, O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return {};
    QByteArray buf(maxBytes, Qt::Uninitialized);
    qsizetype used = 0;
    while (used < maxBytes) {
        const ssize_t n = ::read(fd, buf.data() + used, size_t(maxBytes - used));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        used += n;
    }
    ::close(fd);
    buf.truncate(used);
    return buf;
}

} // namespace

bool ProcessNames::matches(const QString& name) const
{
    if (name.isEmpty())
        return false;
    if (exe == name || argv0 == name)
        return true;
    return exe.isEmpty() && argv0.isEmpty() && !comm.isEmpty()
           && comm.size() < kTaskCommLength && comm == name;
}

namespace {
QString readExeBaseName(const char* root, int pid)
{
    ProcPath path;
    std::snprintf(path, sizeof path, "%s/%d/exe", root, pid);
    char target[4096];
    const ssize_t len = ::readlink(path, target, sizeof target - 1);
    if (len <= 0)
        return QString();
    QByteArray exe(target, int(len));
    static const QByteArray deleted(" (deleted)");
    if (exe.endsWith(deleted))
        exe.chop(deleted.size());
    return baseName(exe);
}

ProcessNames readNamesAt(const char* root, int pid)
{
    ProcessNames names;
    ProcPath path;
    names.exe = readExeBaseName(root, pid);

    std::snprintf(path, sizeof path, "%s/%d/cmdline", root, pid);
    QByteArray cmdline = readSmallFile(path, 4096);
    const int nul = cmdline.indexOf('\0');
    if (nul >= 0)
        cmdline.truncate(nul);
    if (!cmdline.isEmpty())
        names.argv0 = baseName(cmdline);

    if (names.exe.isEmpty() && names.argv0.isEmpty()) {
        // Kernel threads, zombies and processes we may not look into.
        std::snprintf(path, sizeof path, "%s/%d/stat", root, pid);
        const QByteArray stat = readSmallFile(path, 512);
        const int open = stat.indexOf('(');
        const int close = stat.lastIndexOf(')');
        if (open >= 0 && close > open) {
            const char state = close + 2 < stat.size() ? stat[close + 2] : '?';
            // A zombie has ended; it only waits for its parent.
            if (state != 'Z' && state != 'X')
                names.comm = QString::fromLocal8Bit(stat.mid(open + 1, close - open - 1));
        }
    }
    return names;
}

bool parsePid(const char* s, int* pid)
{
    if (!*s)
        return false;
    long v = 0;
    for (const char* p = s; *p; ++p) {
        if (*p < '0' || *p > '9')
            return false;
        v = v * 10 + (*p - '0');
        if (v > 0x7fffffff)
            return false;
    }
    *pid = int(v);
    return v > 0;
}

// Lists the pids of /proc through an open directory descriptor (rewound, so
// a kept descriptor can be reused). False when /proc cannot be read.
bool listPids(int dirFd, QList<int>* pids)
{
    pids->clear();
    if (::lseek(dirFd, 0, SEEK_SET) < 0)
        return false;
    alignas(8) char buf[32768];
    for (;;) {
        const long n = ::syscall(SYS_getdents64, dirFd, buf, sizeof buf);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (n == 0)
            return true;
        for (long off = 0; off < n;) {
            struct Dirent64 {
                ino64_t d_ino;
                off64_t d_off;
                unsigned short d_reclen;
                unsigned char d_type;
                char d_name[];
            };
            const auto* d = reinterpret_cast<const Dirent64*>(buf + off);
            int pid = 0;
            if (d->d_name[0] >= '1' && d->d_name[0] <= '9' && parsePid(d->d_name, &pid))
                pids->append(pid);
            off += d->d_reclen;
        }
    }
}

bool listPids(const char* root, QList<int>* pids)
{
    const int fd = ::open(root, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool ok = listPids(fd, pids);
    ::close(fd);
    return ok;
}

std::function<void(int, const QString&)>& killObserver()
{
    static std::function<void(int, const QString&)> o;
    return o;
}

bool ownedByCurrentUser(int pid)
{
    ProcPath path;
    std::snprintf(path, sizeof path, "%s/%d", kRealProcessTable, pid);
    struct stat st;
    if (::stat(path, &st) != 0)
        return false;
    return st.st_uid == ::getuid() || st.st_uid == ::geteuid();
}

} // namespace

ProcessNames readProcessNames(int pid)
{
    return readNamesAt(tableRoot().c_str(), pid);
}

void setProcessTableRoot(const QString& root)
{
    tableRoot() = root.isEmpty() ? std::string(kRealProcessTable) : root.toStdString();
}

QString processExecutableName(int pid)
{
    const ProcessNames n = readProcessNames(pid);
    if (!n.exe.isEmpty())
        return n.exe;
    if (!n.argv0.isEmpty())
        return n.argv0;
    return n.comm;
}

bool exitproc(const QString& name)
{
    const char* root = tableRoot().c_str();
    QList<int> pids;
    if (!listPids(root, &pids))
        return false;
    for (int pid : pids)
        if (readNamesAt(root, pid).matches(name))
            return true;
    return false;
}

void killProcessesNamed(const QString& name)
{
    if (name.isEmpty())
        return;
    // Always the real table: pids read anywhere else would name someone
    // else's processes.
    QList<int> pids;
    if (!listPids(kRealProcessTable, &pids))
        return;
    const int self = int(::getpid());
    for (int pid : pids) {
        if (pid == self || !ownedByCurrentUser(pid))
            continue;
        if (readNamesAt(kRealProcessTable, pid).matches(name)) {
            ::kill(pid_t(pid), SIGKILL);
            if (const auto& observe = killObserver())
                observe(pid, name);
        }
    }
}

void setProcessKillObserver(std::function<void(int pid, const QString& name)> observer)
{
    killObserver() = std::move(observer);
}

// ---------------------------------------------------------------------------

namespace {
// A new process is read again when it is 1, 2, 4, … up to this many calls
// old: a forked child shows its parent's name until it execs, usually within
// the first few milliseconds.
constexpr quint64 kYoungScans = 128;
// Older processes are checked this many per call, round robin.
constexpr int kRevalidatePerScan = 2;
// /proc is listed at least this often, to forget processes that ended.
constexpr quint64 kRelistScans = 100;
// Up to this many newly handed-out pids are looked at one by one; more
// make a listing cheaper.
constexpr long kProbeLimit = 16;

bool isPowerOfTwo(quint64 v) { return v && !(v & (v - 1)); }

// The names under which a process can be found (see ProcessNames::matches).
QStringList matchKeys(const ProcessNames& n)
{
    QStringList keys;
    if (!n.exe.isEmpty())
        keys << n.exe;
    if (!n.argv0.isEmpty() && n.argv0 != n.exe)
        keys << n.argv0;
    if (keys.isEmpty() && !n.comm.isEmpty() && n.comm.size() < kTaskCommLength)
        keys << n.comm;
    return keys;
}
} // namespace

ProcessNameWatch::ProcessNameWatch()
    : m_root(QByteArray::fromStdString(tableRoot()))
{
}

ProcessNameWatch::~ProcessNameWatch()
{
    if (m_procFd >= 0)
        ::close(m_procFd);
    if (m_loadavgFd >= 0)
        ::close(m_loadavgFd);
}

long ProcessNameWatch::readLastPid()
{
    // "0.12 0.10 0.06 1/121 9933": the last field is the pid most recently
    // handed out in our pid namespace (threads included).
    if (m_loadavgFd < 0)
        m_loadavgFd = ::open((m_root + "/loadavg").constData(), O_RDONLY | O_CLOEXEC);
    if (m_loadavgFd < 0)
        return -1;
    char buf[128];
    const ssize_t n = ::pread(m_loadavgFd, buf, sizeof buf - 1, 0);
    if (n <= 0)
        return -1;
    buf[n] = 0;
    const char* space = std::strrchr(buf, ' ');
    if (!space)
        return -1;
    char* end = nullptr;
    const long v = std::strtol(space + 1, &end, 10);
    return end == space + 1 ? -1 : v;
}

void ProcessNameWatch::setNames(int pid, Entry& e, ProcessNames names)
{
    const QStringList oldKeys = matchKeys(e.names);
    const QStringList newKeys = matchKeys(names);
    if (oldKeys != newKeys) {
        for (const QString& k : oldKeys)
            m_byName.remove(k, pid);
        for (const QString& k : newKeys)
            m_byName.insert(k, pid);
    }
    e.names = std::move(names);
}

void ProcessNameWatch::addPid(int pid)
{
    auto it = m_entries.find(pid);
    if (it == m_entries.end()) {
        it = m_entries.insert(pid, Entry{});
        m_revalidateOrder.append(pid);
    }
    // A known pid handed out again belongs to a new process.
    it->firstScan = m_scan;
    it->seenScan = m_scan;
    setNames(pid, *it, readNamesAt(m_root.constData(), pid));
    m_young.append(pid);
}

void ProcessNameWatch::dropPid(int pid)
{
    auto it = m_entries.find(pid);
    if (it == m_entries.end())
        return;
    for (const QString& k : matchKeys(it->names))
        m_byName.remove(k, pid);
    m_entries.erase(it);
}

bool ProcessNameWatch::listAll()
{
    if (m_procFd < 0)
        m_procFd = ::open(m_root.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    static thread_local QList<int> pids;
    if (m_procFd < 0 || !listPids(m_procFd, &pids))
        return false;
    ++m_listings;
    m_listedScan = m_scan;
    for (int pid : pids) {
        auto it = m_entries.find(pid);
        if (it == m_entries.end())
            addPid(pid);
        else
            it->seenScan = m_scan;
    }
    if (m_entries.size() != pids.size()) {
        QList<int> gone;
        for (auto it = m_entries.cbegin(); it != m_entries.cend(); ++it)
            if (it->seenScan != m_scan)
                gone << it.key();
        for (int pid : gone)
            dropPid(pid);
    }
    m_pending.clear();
    return true;
}

void ProcessNameWatch::revalidate(int pid)
{
    auto it = m_entries.find(pid);
    if (it == m_entries.end())
        return;
    const ProcessNames& n = it->names;
    if (n.exe.isEmpty() && n.argv0.isEmpty())
        return;   // kernel threads and zombies never exec
    if (!n.exe.isEmpty()) {
        // An exec changes the executable; one readlink tells.
        if (readExeBaseName(m_root.constData(), pid) == n.exe)
            return;
    }
    ProcessNames fresh = readNamesAt(m_root.constData(), pid);
    if (fresh.isEmpty())
        dropPid(pid);
    else
        setNames(pid, *it, std::move(fresh));
}

bool ProcessNameWatch::refresh()
{
    ++m_scan;
    const long lastPid = readLastPid();
    const bool first = m_listings == 0;
    if (first || lastPid < 0 || m_scan - m_listedScan >= kRelistScans
        || lastPid < m_lastPid || lastPid - m_lastPid > kProbeLimit) {
        if (!listAll()) {
            m_lastPid = -1;
            return false;
        }
    } else {
        // Pids handed out but not visible yet (or already ended) get one
        // more look; then the new ones since the last call.
        const QList<int> retry = std::exchange(m_pending, {});
        for (int pid : retry) {
            if (!m_entries.contains(pid) && !readNamesAt(m_root.constData(), pid).isEmpty())
                addPid(pid);
        }
        for (long p = m_lastPid + 1; p <= lastPid; ++p) {
            const int pid = int(p);
            ProcPath path;
            std::snprintf(path, sizeof path, "%s/%d", m_root.constData(), pid);
            if (::access(path, F_OK) == 0)
                addPid(pid);
            else
                m_pending.append(pid);
        }
    }
    m_lastPid = lastPid;

    for (int i = 0; i < m_young.size();) {
        const int pid = m_young[i];
        auto it = m_entries.find(pid);
        const quint64 age = it == m_entries.end() ? kYoungScans + 1 : m_scan - it->firstScan;
        if (age > kYoungScans) {
            m_young.removeAt(i);
            continue;
        }
        if (isPowerOfTwo(age)) {
            // A native program's argv[0] is its executable, and an exec
            // changes the executable: one readlink tells. Where the two
            // differ (Wine rewrites argv[0] as it starts), read it all.
            const ProcessNames& n = it->names;
            if (n.exe.isEmpty() || n.argv0 != n.exe || readExeBaseName(m_root.constData(), pid) != n.exe)
                setNames(pid, *it, readNamesAt(m_root.constData(), pid));
        }
        ++i;
    }
    for (int done = 0; done < kRevalidatePerScan && !m_revalidateOrder.isEmpty();) {
        if (m_revalidateCursor >= m_revalidateOrder.size())
            m_revalidateCursor = 0;
        const int pid = m_revalidateOrder[m_revalidateCursor];
        if (!m_entries.contains(pid)) {
            m_revalidateOrder.removeAt(m_revalidateCursor);
            continue;
        }
        revalidate(pid);
        ++m_revalidateCursor;
        ++done;
    }
    return true;
}

bool ProcessNameWatch::isRunning(const QString& name)
{
    if (name.isEmpty() || !refresh())
        return false;
    const QList<int> candidates = m_byName.values(name);
    for (int pid : candidates) {
        auto it = m_entries.find(pid);
        if (it == m_entries.end())
            continue;
        // A kept name may be stale: confirm with a fresh read.
        ProcessNames fresh = readNamesAt(m_root.constData(), pid);
        const bool match = fresh.matches(name);
        if (fresh.isEmpty())
            dropPid(pid);
        else
            setNames(pid, *it, std::move(fresh));
        if (match)
            return true;
    }
    return false;
}

void ProcessNameWatch::reset()
{
    m_entries.clear();
    m_byName.clear();
    m_young.clear();
    m_pending.clear();
    m_revalidateOrder.clear();
    m_revalidateCursor = 0;
    m_scan = 0;
    m_listedScan = 0;
    m_listings = 0;
    m_lastPid = -1;
}

} // namespace lumorra
