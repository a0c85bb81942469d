#pragma once

#include <QString>
#include <cstdint>
#include <functional>

// The benchmark's data: an installation folder copied from the shipped one, holding the
// address database with n generated records, and the same addresses as a delimited file.
namespace BenchData {

// Called now and then during long work; may throw to stop it.
using Poll = std::function<void()>;

// Copies the shipped installation folder to dir (which must not exist yet).
void copyInstallation(const QString& shippedDir, const QString& dir);

// Writes n addresses as comma-delimited UTF-8 lines without header, one column per
// AddressGenerator column.
void writeDelimitedFile(const QString& path, std::int64_t n, const Poll& poll = {});

// Opens the installation's address database (creating its table from the profile) and fills
// it with n unmarked addresses in one transaction.
void fillDatabase(const QString& installationDir, std::int64_t n, const Poll& poll = {});

} // namespace BenchData
