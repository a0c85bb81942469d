#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QScrollArea;
class TMainForm;

// The import window: one mapping entry (source column number) per field of the open
// database, the delimiter set and help links; "Starte Import" asks for the file and imports
// it into the open table. The entries are built each time the window is shown, all at "0".
class TImportForm : public QDialog {
    Q_OBJECT
public:
    explicit TImportForm(TMainForm& main, QWidget* parent = nullptr);

    // Returns false when the import failed; the error has been shown.
    bool ImportCVS(const QString& fileName);
    bool ImportDataBase(const QString& fileName);

public slots:
    void ImportBitBtnClick();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void FormShow();
    void FormHide();
    void openHelp(const QString& page);
    QLabel* link(const QString& name, const QString& text, const QString& page);

    TMainForm& m_main;
    QLineEdit* m_delimiter = nullptr;
    QScrollArea* m_scrollBox = nullptr;
    QWidget* m_entries = nullptr;
    QStringList m_entryFields;
};
