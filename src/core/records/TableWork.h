#pragma once

#include "foundations/QuillonError.h"
#include "foundations/Table.h"

// Shared steps of the commands that work on the open table beside its cursor.
namespace TableWork {

inline void requireOpen(const Table& table) {
    if (!table.isOpen())
        throw QuillonError(QStringLiteral("Zuerst Datenbank öffnen!"));
}

// A change being edited is posted first, as moving the cursor would post it.
inline void postPending(Table& table) {
    if (table.state() == Table::State::Edit || table.state() == Table::State::Insert)
        table.post();
}

// Bound views stay still while a command works and catch up once at its end.
class ControlsPause {
public:
    explicit ControlsPause(Table& table) : m_table(table) { m_table.disableControls(); }
    ~ControlsPause() { m_table.enableControls(); }
    ControlsPause(const ControlsPause&) = delete;
    ControlsPause& operator=(const ControlsPause&) = delete;

private:
    Table& m_table;
};

} // namespace TableWork
