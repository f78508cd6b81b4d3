#pragma once
// Running processes by executable name: the test for a running program and
// the forced stop of one ("taskkill /im NAME /f").
#include <QByteArray>
#include <QHash>
#include <QList>
#include <QMultiHash>
#include <QString>
#include <functional>

namespace lumorra {

// True when a running process's executable name equals `name` exactly
// (case-sensitive). A process list that cannot be read gives false.
bool exitproc(const QString& name);

// Sends SIGKILL to every process of the current user whose executable name
// equals `name` exactly, never to the own process. Results are not examined.
void killProcessesNamed(const QString& name);

// Where exitproc(), readProcessNames() and watches created afterwards read
// the process table: "/proc", unless a test points them at a made-up table
// (an empty root restores "/proc"). killProcessesNamed() always works on the
// real table.
void setProcessTableRoot(const QString& root);

// Called with every process that killProcessesNamed() signals, in order, so
// that the order of stops can be followed; nullptr removes it.
void setProcessKillObserver(std::function<void(int pid, const QString& name)> observer);

// What /proc tells about one process's program. A process is matched by the
// base name (after the last '/' or '\') of its executable or of its argv[0]:
// the first is what a native program was started from, the second what Wine
// shows for a Windows program ("C:\...\QvodTerminal.exe"). Both are whole
// names, unlike the kernel's task name, which is cut to 15 characters; that
// one is used only for processes where neither can be read, and only when
// it was not cut short. Zombies have no names.
struct ProcessNames {
    QString exe;
    QString argv0;
    QString comm;
    bool matches(const QString& name) const;
    bool isEmpty() const { return exe.isEmpty() && argv0.isEmpty() && comm.isEmpty(); }
};
ProcessNames readProcessNames(int pid);

// The executable name of one process (see ProcessNames): the executable's
// base name, else argv[0]'s, else the task name. Empty when it is gone.
QString processExecutableName(int pid);

// Same test as exitproc(), made cheap enough to run every 10 ms:
// - names of processes already seen are kept, indexed by name;
// - a call first asks the kernel for the last pid it handed out; when that
//   has not moved, no process can have started and /proc is not listed;
//   when a few pids were handed out, just those are looked at; otherwise,
//   and every so often to forget ended processes, /proc is listed;
// - a new process is read again at growing intervals while it is young (a
//   forked child shows its parent's name until it execs), and older ones are
//   checked a few per call, so an exec under an old pid is noticed within a
//   bounded number of calls;
// - a kept name that matches is confirmed by a fresh read before it counts.
class ProcessNameWatch {
public:
    ProcessNameWatch();
    ~ProcessNameWatch();
    ProcessNameWatch(const ProcessNameWatch&) = delete;
    ProcessNameWatch& operator=(const ProcessNameWatch&) = delete;

    bool isRunning(const QString& name);
    // Drops everything kept (next call reads every process again).
    void reset();
    int knownProcessCount() const { return int(m_entries.size()); }
    // How many calls listed the whole of /proc (for measurements).
    quint64 listings() const { return m_listings; }

private:
    struct Entry {
        ProcessNames names;
        quint64 firstScan = 0;  // call that first saw the pid
        quint64 seenScan = 0;   // last listing that showed it
    };
    bool refresh();
    bool listAll();
    void addPid(int pid);
    void setNames(int pid, Entry& e, ProcessNames names);
    void dropPid(int pid);
    void revalidate(int pid);
    long readLastPid();

    QByteArray m_root;            // the process table, fixed at construction
    QHash<int, Entry> m_entries;
    QMultiHash<QString, int> m_byName;
    QList<int> m_young;           // pids still re-read at growing intervals
    QList<int> m_pending;         // handed-out pids not visible yet
    QList<int> m_revalidateOrder;
    int m_revalidateCursor = 0;
    quint64 m_scan = 0;
    quint64 m_listedScan = 0;
    quint64 m_listings = 0;
    long m_lastPid = -1;
    int m_procFd = -1;
    int m_loadavgFd = -1;
};

} // namespace lumorra
