#pragma once

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QListWidget;
class TMainForm;

// The text export window: which fields, header line, only the marked records, trimmed or
// padded values and the delimiter; "OK" asks for the file and writes it. The choices stay
// between showings; the field list is filled anew, every field checked.
class TAsciiForm : public QDialog {
    Q_OBJECT
public:
    explicit TAsciiForm(TMainForm& main, QWidget* parent = nullptr);

public slots:
    void OKBitBtnClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormActivate();
    QString askFileName();

    TMainForm& m_main;
    QCheckBox* m_header = nullptr;
    QCheckBox* m_onlyMarked = nullptr;
    QCheckBox* m_trim = nullptr;
    QListWidget* m_fields = nullptr;
    QLineEdit* m_delimiter = nullptr;
};
