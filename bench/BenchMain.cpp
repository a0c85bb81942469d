// quillon-bench: times the heavy operations through the program's own core code on generated
// addresses, each operation in a child process of its own so its peak memory is its own, and
// compares the bulk transfers with the sqlite3 shell on the same data.

#include "AddressGenerator.h"
#include "BenchData.h"
#include "BenchOperations.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>
#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <ctime>
#include <fcntl.h>
#include <optional>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

volatile std::sig_atomic_t g_interrupted = 0;
volatile pid_t g_child = 0;

void onSignal(int) {
    g_interrupted = 1;
    if (g_child > 0)
        kill(g_child, SIGTERM);
}

void installSignalHandlers() {
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = 0; // no SA_RESTART: a blocking read or wait returns, and we clean up
    for (int signal : {SIGINT, SIGTERM, SIGHUP})
        sigaction(signal, &action, nullptr);
}

struct Interrupted {};

void checkInterrupted() {
    if (g_interrupted)
        throw Interrupted{};
}

struct ChildRun {
    QByteArray output;
    int status = 0;
    long peakKiB = 0;
};

// Runs a program, collecting its standard output, and returns its peak memory.
// Its diagnostics go to the log file, which is shown when it fails.
QString g_log;

ChildRun runChild(const QStringList& arguments, const QString& stdoutFile = {}) {
    std::vector<QByteArray> encoded;
    for (const QString& argument : arguments)
        encoded.push_back(QFile::encodeName(argument));
    std::vector<char*> argv;
    for (QByteArray& argument : encoded)
        argv.push_back(argument.data());
    argv.push_back(nullptr);

    int pipeFds[2];
    if (pipe(pipeFds) != 0)
        throw std::runtime_error("pipe");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (stdoutFile.isEmpty())
        posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
    else
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO,
                                         QFile::encodeName(stdoutFile).constData(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (!g_log.isEmpty())
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO,
                                         QFile::encodeName(g_log).constData(),
                                         O_WRONLY | O_CREAT | O_APPEND, 0644);
    posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
    posix_spawn_file_actions_addclose(&actions, pipeFds[1]);
    pid_t pid = 0;
    const int rc = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(pipeFds[1]);
    if (rc != 0) {
        close(pipeFds[0]);
        throw std::runtime_error(std::string("cannot start ") + argv[0]);
    }
    g_child = pid;

    ChildRun run;
    char buffer[4096];
    for (;;) {
        const ssize_t n = read(pipeFds[0], buffer, sizeof buffer);
        if (n > 0)
            run.output.append(buffer, n);
        else if (n == 0 || errno != EINTR || g_interrupted)
            break;
    }
    close(pipeFds[0]);
    struct rusage usage {};
    while (wait4(pid, &run.status, 0, &usage) < 0 && errno == EINTR) {
    }
    g_child = 0;
    checkInterrupted();
    run.peakKiB = usage.ru_maxrss;
    return run;
}

QString childLog() {
    QFile log(g_log);
    return log.open(QIODevice::ReadOnly) ? QString::fromUtf8(log.readAll().right(4000)) : QString();
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

QString seconds(double value) {
    return QString::number(value, 'f', value < 10 ? 3 : 1) + " s";
}

struct Measured {
    double median = 0;
    long peakKiB = 0;
};

// Runs one operation of the child program: either all runs in one child (warm-up first),
// or, for whole-program operations, one child per run.
Measured measure(const BenchOperation& op, const QString& self, const QString& work,
                 const QString& pristine, const QString& csv, long records, int runs) {
    std::vector<double> times;
    long peak = 0;
    auto parse = [&](const ChildRun& child) {
        if (!WIFEXITED(child.status) || WEXITSTATUS(child.status) != 0)
            throw std::runtime_error(
                QStringLiteral("operation %1 failed: %2")
                    .arg(QString::fromLatin1(op.name), QString::fromUtf8(child.output) + childLog())
                    .toStdString());
        for (const QByteArray& line : child.output.split('\n'))
            if (line.startsWith("time "))
                times.push_back(line.mid(5).toDouble());
        peak = std::max(peak, child.peakKiB);
    };
    const QStringList common = {
        QStringLiteral("--dir"), work, QStringLiteral("--pristine"), pristine,
        QStringLiteral("--csv"), csv,  QStringLiteral("--records"),  QString::number(records)};
    if (op.perProcess) {
        for (int run = 0; run <= runs; ++run) {
            const ChildRun child =
                runChild(QStringList{self, QStringLiteral("--child"), QString::fromLatin1(op.name),
                                     QStringLiteral("--since"),
                                     QString::number(monotonicSeconds(), 'f', 6)} +
                         common);
            parse(child);
            if (run == 0)
                times.clear(); // warm-up: page cache and fonts
        }
    } else {
        parse(runChild(QStringList{self, QStringLiteral("--child"), QString::fromLatin1(op.name),
                                   QStringLiteral("--runs"),
                                   QString::number(op.singleRun ? 1 : runs)} +
                       common));
    }
    if (times.empty())
        throw std::runtime_error(std::string("no time from ") + op.name);
    return {median(times), peak};
}

// The sqlite3 shell doing the same bulk transfer, timed as a whole process.
double measureShell(const BenchOperation& op, const QString& dir, const QString& pristine,
                    const QString& csv, int runs) {
    const QString db = dir + QStringLiteral("/shell.db");
    std::vector<double> times;
    for (int run = 0; run <= runs; ++run) {
        QStringList command;
        QString out;
        if (op.compare == BenchOperation::Compare::ShellImport) {
            QFile::remove(db);
            QStringList columns;
            for (const QString& column : AddressGenerator::columns())
                columns << QStringLiteral("\"%1\" TEXT").arg(column);
            runChild({QStringLiteral("sqlite3"), db,
                      QStringLiteral("CREATE TABLE t(%1);").arg(columns.join(u','))});
            command = {QStringLiteral("sqlite3"), QStringLiteral("-cmd"),
                       QStringLiteral(".mode csv"), db, QStringLiteral(".import %1 t").arg(csv)};
        } else {
            command = {QStringLiteral("sqlite3"), QStringLiteral("-csv"),
                       pristine + QStringLiteral("/Data/database.DB"),
                       QStringLiteral("SELECT * FROM records")};
            out = dir + QStringLiteral("/shell.csv");
        }
        const double start = monotonicSeconds();
        const ChildRun child = runChild(command, out);
        const double elapsed = monotonicSeconds() - start;
        if (!WIFEXITED(child.status) || WEXITSTATUS(child.status) != 0)
            throw std::runtime_error("sqlite3 failed");
        if (run > 0)
            times.push_back(elapsed);
    }
    QFile::remove(db);
    QFile::remove(dir + QStringLiteral("/shell.csv"));
    return median(times);
}

int usage(QTextStream& err) {
    err << "Aufruf: quillon-bench [--records N] [--runs R] [--only OPERATION,...]\n"
           "  --records N  Anzahl der erzeugten Adressen (1 bis 10000000, Vorgabe 1000000)\n"
           "  --runs R     Messläufe je Operation nach einem Aufwärmlauf (1 bis 50, Vorgabe 3)\n"
           "  --only ...   nur diese Operationen:";
    for (const BenchOperation& op : benchOperations())
        err << ' ' << op.name;
    err << '\n';
    return 2;
}

std::optional<long> number(const QString& text, long low, long high) {
    bool ok = false;
    const long value = text.toLong(&ok);
    if (!ok || value < low || value > high)
        return std::nullopt;
    return value;
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc > 1 && std::string(argv[1]) == "--child")
        return benchChildMain(argc, argv);

    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    long records = 1000000;
    long runs = 3;
    QStringList only;
    QStringList args = app.arguments().mid(1);
    while (!args.isEmpty()) {
        const QString option = args.takeFirst();
        if (option == u"--help" || option == u"-h")
            return usage(out), 0;
        if (args.isEmpty())
            return usage(err);
        const QString value = args.takeFirst();
        std::optional<long> parsed;
        if (option == u"--records" && (parsed = number(value, 1, 10000000)))
            records = *parsed;
        else if (option == u"--runs" && (parsed = number(value, 1, 50)))
            runs = *parsed;
        else if (option == u"--only") {
            only = value.split(u',');
            for (const QString& name : only)
                if (!findBenchOperation(name))
                    return usage(err);
        } else
            return usage(err);
    }

    installSignalHandlers();
    QTemporaryDir temp(QDir::tempPath() + QStringLiteral("/quillon-bench-XXXXXX"));
    if (!temp.isValid()) {
        err << "Kein temporärer Ordner: " << temp.errorString() << '\n';
        return 1;
    }
    try {
        const QString self = QCoreApplication::applicationFilePath();
        const QString pristine = temp.path() + QStringLiteral("/pristine");
        const QString work = temp.path() + QStringLiteral("/work");
        const QString csv = temp.path() + QStringLiteral("/adressen.csv");
        qputenv("QT_QPA_PLATFORM", "offscreen");
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(temp.path()));
        g_log = temp.path() + QStringLiteral("/children.log");

        QElapsedTimer timer;
        timer.start();
        BenchData::copyInstallation(QStringLiteral(QUILLON_SHIPPED_DIR), pristine);
        BenchData::fillDatabase(pristine, records, checkInterrupted);
        BenchData::writeDelimitedFile(csv, records, checkInterrupted);
        checkInterrupted();
        out << "Daten: " << records << " Adressen erzeugt in " << seconds(timer.elapsed() / 1000.0)
            << "\n\n";
        out << "| Operation | Ziel | Median | Spitze Speicher | sqlite3-Shell | Verhältnis | "
               "erreicht |\n"
               "|---|---|---|---|---|---|---|\n";
        out.flush();
        bool allMet = true;
        for (const BenchOperation& op : benchOperations()) {
            if (!only.isEmpty() && !only.contains(QString::fromLatin1(op.name)))
                continue;
            QDir(work).removeRecursively();
            BenchData::copyInstallation(pristine, work);
            const Measured measured = measure(op, self, work, pristine, csv, records, int(runs));
            const double peakMiB = measured.peakKiB / 1024.0;
            QString shell = QStringLiteral("–");
            QString ratio = QStringLiteral("–");
            bool met = true;
            if (op.compare != BenchOperation::Compare::None) {
                const double shellTime = measureShell(op, temp.path(), pristine, csv, int(runs));
                shell = seconds(shellTime);
                ratio = QString::number(measured.median / shellTime, 'f', 2);
                met = op.targetRatio <= 0 || measured.median <= op.targetRatio * shellTime;
            } else if (op.targetSeconds > 0) {
                met = measured.median <= op.targetSeconds;
            }
            if (op.targetMiB > 0)
                met = met && peakMiB <= op.targetMiB;
            allMet = allMet && met;
            out << "| " << op.title << " | " << op.target << " | " << seconds(measured.median)
                << " | " << QString::number(peakMiB, 'f', 0) << " MB | " << shell << " | " << ratio
                << " | "
                << (!op.hasTarget() ? "–"
                    : met           ? "ja"
                                    : "nein")
                << " |\n";
            out.flush();
            checkInterrupted();
        }
        QDir(work).removeRecursively();
        out << (allMet ? "\nAlle Ziele erreicht.\n" : "\nNicht alle Ziele erreicht.\n");
        return 0;
    } catch (const Interrupted&) {
        err << "\nabgebrochen\n";
        return 130; // the temporary folder goes with `temp`
    } catch (const std::exception& error) {
        err << "quillon-bench: " << error.what() << '\n';
        return 1;
    }
}
