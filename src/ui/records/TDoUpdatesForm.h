#pragma once

#include <QString>

class Table;

// The validation hooks the record editor calls around a post. The tables this program
// creates need no rules: every record is accepted and no field gets a default.
class TDoUpdatesForm {
public:
    virtual ~TDoUpdatesForm() = default;

    // False keeps the record unposted and the editor open.
    virtual bool ValidateRecord(Table& table) {
        (void)table;
        return true;
    }
    // May set a default value for the field of the record being inserted.
    virtual void SetNewRecordDefault(Table& table, const QString& fieldName) {
        (void)table;
        (void)fieldName;
    }
};
