#pragma once

#include <QString>
#include <vector>

// The operations the benchmark times. The parent lists them; a child process runs one.
struct BenchOperation {
    enum class Compare { None, ShellImport, ShellExport };
    const char* name;
    const char* title;
    const char* target;
    double targetSeconds = 0; // 0: no time target
    double targetMiB = 0;     // 0: no memory target
    Compare compare = Compare::None;
    double targetRatio = 1.0; // against the sqlite3 shell
    bool perProcess = false;  // one child per run, timed from before its start
    bool singleRun = false;   // too long to repeat; one run without warm-up

    bool hasTarget() const {
        return targetSeconds > 0 || targetMiB > 0 || (compare != Compare::None && targetRatio > 0);
    }
};

const std::vector<BenchOperation>& benchOperations();

// Seconds on the system-wide monotonic clock, which parent and child share.
double monotonicSeconds();
const BenchOperation* findBenchOperation(const QString& name);

// The child side: quillon-bench --child NAME --dir INSTALLATION --pristine DIR --csv FILE
// [--runs R | --since MONOTONIC]. Prints one "time SECONDS" line per timed run.
int benchChildMain(int argc, char* argv[]);
