#include "frmStart.h"

#include "Artwork.h"
#include "DialogKeys.h"
#include "MyMessage.h"
#include "WizardButtons.h"

#include "model/FileError.h"
#include "model/ini_variables.h"

#include <QCheckBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

frmStart::frmStart(QWidget *parent)
    : QDialog(parent)
    , chkhide(new QCheckBox(QStringLiteral("Don't show me again"), this))
    , cmdNext(make_button(this, "cmdNext", QStringLiteral("Continue")))
{
    is_shown = true;
    setObjectName(QStringLiteral("frmStart"));
    setWindowTitle(QStringLiteral("Tressel"));
    chkhide->setObjectName(QStringLiteral("chkhide"));

    QLabel *image = logo_label(this, 96);
    auto *welcome = new QLabel(QStringLiteral("Welcome to"), this);
    welcome->setObjectName(QStringLiteral("Label1"));
    QLabel *name = product_name_label(this);
    auto *text = new QLabel(
        QStringLiteral(
            "Tressel creates a PHP script to process any web form, it makes all necessary validation, to "
            "check that your visitor had filled all values correctly, it can handle File uploads, send email "
            "to form owner with all fields data whenever the form is successfully processed and a "
            "personalized confirmation email to your visitor (auto responder) and store form data in a text "
            "file or in a MySQL database."),
        this);
    text->setObjectName(QStringLiteral("Label3"));
    text->setWordWrap(true);
    text->setMinimumWidth(360);

    auto *shape = new QFrame(this);
    shape->setObjectName(QStringLiteral("Shape1"));
    shape->setFrameShape(QFrame::Box);
    auto *inside = new QVBoxLayout(shape);
    inside->addWidget(welcome);
    inside->addWidget(name);
    inside->addWidget(text);

    auto *top = new QHBoxLayout;
    top->addWidget(image, 0, Qt::AlignTop);
    top->addWidget(shape, 1);
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(chkhide);
    bottom->addStretch(1);
    bottom->addWidget(cmdNext);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(bottom);
    connect(cmdNext, &gxButtons_H::Click, this, &frmStart::cmdNext_Click);
    // Escape closes the page as its close box does, writing nothing.
    new DialogKeys(this, cmdNext);
}

void frmStart::cmdNext_Click()
{
    ini_variables::hide_start = chkhide->isChecked() ? 1 : 0;
    try {
        ini_variables::write_wizard_ini();
    } catch (const FileError &error) {
        MyMessage::show_message(
            QStringLiteral("The setting could not be saved in ") + error.path() + QStringLiteral(": ") + error.reason(),
            1, 3);
    }
    accept();
}
