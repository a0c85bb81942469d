#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>

// Deterministic German-looking addresses for the benchmark: the same seed and record number
// always give the same address, on every machine.
class AddressGenerator {
public:
    // The columns of the delimited file and of the import mapping, in file order; all of them
    // are fields of the shipped address profile.
    static const QStringList& columns();

    explicit AddressGenerator(std::uint64_t seed = 20261211);

    // The values of address number n (from 1), one per column. No value is empty (the
    // import takes a run of delimiters as one) or contains ",", a quote or a line break.
    QStringList address(std::int64_t n) const;

private:
    std::uint64_t m_seed;
};
