#pragma once

#include <QDialog>

class QComboBox;
class QLineEdit;
class QPushButton;
class QToolButton;
class TMainForm;

// Builds a filter expression for the open table from one or two conditions, shows it in an
// editable box for experts, and switches the table's filter on or off. Created once; keeps
// its selections, operators and connector between showings.
class TFilterForm : public QDialog {
    Q_OBJECT
public:
    explicit TFilterForm(TMainForm& main, QWidget* parent = nullptr);

public slots:
    void Field1ComboBoxChange();
    void Exp1EditChange();
    void Operate1BtnClick();
    void Field2ComboBoxChange();
    void Exp2EditChange();
    void Operate2BtnClick();
    void ConectorBtnClick();
    void OnBitBtnClick();
    void OffBitBtnClick();
    void HilfeBitBtnClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormActivate();
    void UpdateExpressionEdit();

    TMainForm& m_main;
    int m_operator1Index = 1;
    int m_operator2Index = 1;
    int m_connectorIndex = 1;

    QComboBox* m_field1 = nullptr;
    QToolButton* m_operate1 = nullptr;
    QLineEdit* m_exp1 = nullptr;
    QToolButton* m_connector = nullptr;
    QComboBox* m_field2 = nullptr;
    QToolButton* m_operate2 = nullptr;
    QLineEdit* m_exp2 = nullptr;
    QLineEdit* m_expression = nullptr;
};
