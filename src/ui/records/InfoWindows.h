#pragma once

#include <QDialog>

struct ProductConfig;

// The about box: product, version and how to reach the maker.
class TAboutBox : public QDialog {
    Q_OBJECT
public:
    TAboutBox(const ProductConfig& config, QWidget* parent = nullptr);
};

// What the "Serien E-Mail" buttons show: a note on the separate e-mail product.
class TSerienmailInfoForm : public QDialog {
    Q_OBJECT
public:
    explicit TSerienmailInfoForm(QWidget* parent = nullptr);
};
