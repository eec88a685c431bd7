#pragma once

#include <QDialog>

class QLabel;

// Names the product and links to its web site.
class frmAbout final : public QDialog
{
    Q_OBJECT

public:
    explicit frmAbout(QWidget *parent = nullptr);

    // The product's web site and its support page.
    static QString home_page();
    static QString support_page();
};
