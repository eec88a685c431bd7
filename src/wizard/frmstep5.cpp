#include "frmstep5.h"

#include "MyMessage.h"
#include "TextFit.h"
#include "WizardButtons.h"
#include "WizardControls.h"
#include "WizardFrame.h"
#include "named.h"

#include "generate/CSV.h"
#include "model/CForm.h"
#include "model/globals.h"
#include "model/webpage.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRegularExpression>
#include <QVBoxLayout>

#include <optional>

namespace {

QStringList field_names()
{
    QStringList names;
    if (const auto &form = globals::web_page()->selected_form) {
        for (const auto &entry : *form->fields())
            names << entry.value->name;
    }
    return names;
}

} // namespace

frmstep5::frmstep5(QWidget *parent)
    : WizardWindow(WizardPage::frmstep5, 5, parent)
    , lstfields(named(new QListWidget(this), "lstfields"))
    , txtfilename(named(new QLineEdit(this), "txtfilename"))
    , cmbtypes(make_editable_combo(this, "cmbtypes", { "*.csv", "*.tab", "*.txt" }, QStringLiteral("*.csv")))
    , cmbDelimiter(
          make_editable_combo(this, "cmbDelimiter", { "comma", "semicolon", "tab", "space" }, QStringLiteral("comma")))
    , cmbendline(make_editable_combo(this, "cmbendline", { "\\r\\n", "\\n" }, QStringLiteral("\\r\\n")))
    , cmdSelectAll(make_button(this, "cmdSelectAll", QStringLiteral("Select All")))
    , CmdselectNone(make_button(this, "CmdselectNone", QStringLiteral("Select None")))
    , cmdBack(make_button(this, "cmdBack", QStringLiteral("<< Back")))
    , cmdNext(make_button(this, "cmdNext", QStringLiteral("Next >>")))
    , cmdCancel(make_button(this, "cmdCancel", QStringLiteral("Cancel")))
    , cmdHelp(make_button(this, "cmdHelp", QStringLiteral("Help")))
{
    setObjectName(QStringLiteral("frmstep5"));
    lstfields->setSelectionMode(QAbstractItemView::MultiSelection);
    const QString separator_hint = QStringLiteral("A separator between fields");
    auto *separator = new QLabel(QStringLiteral("Separator"), this);
    separator->setToolTip(separator_hint);
    cmbDelimiter->setToolTip(separator_hint);

    auto *choices = new QHBoxLayout;
    choices->addWidget(cmdSelectAll);
    choices->addWidget(CmdselectNone);
    choices->addStretch(1);
    auto *left = new QVBoxLayout;
    left->addWidget(new QLabel(QStringLiteral("Fields to save"), this));
    left->addWidget(lstfields, 1);
    left->addLayout(choices);

    auto *right = new QGridLayout;
    right->addWidget(new QLabel(QStringLiteral("File Name"), this), 0, 0);
    right->addWidget(txtfilename, 0, 1);
    right->addWidget(new QLabel(QStringLiteral("File Format"), this), 1, 0);
    right->addWidget(cmbtypes, 1, 1);
    right->addWidget(separator, 2, 0);
    right->addWidget(cmbDelimiter, 2, 1);
    right->addWidget(new QLabel(QStringLiteral("End of Line"), this), 3, 0);
    right->addWidget(cmbendline, 3, 1);
    right->setRowStretch(4, 1);

    auto *columns = new QHBoxLayout;
    columns->addLayout(left, 1);
    columns->addSpacing(16);
    columns->addLayout(right, 1);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    for (gxButtons_H *button : { cmdBack, cmdNext, cmdCancel, cmdHelp })
        buttons->addWidget(button);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(columns, 1);
    layout->addSpacing(8);
    layout->addLayout(buttons);

    connect(cmbtypes, &QComboBox::activated, this, &frmstep5::cmbtypes_Click);
    connect(cmdSelectAll, &gxButtons_H::Click, lstfields, &QListWidget::selectAll);
    connect(CmdselectNone, &gxButtons_H::Click, lstfields, &QListWidget::clearSelection);
    connect(cmdNext, &gxButtons_H::Click, this, &frmstep5::cmdNext_Click);
    connect(cmdBack, &gxButtons_H::Click, this, [this] { WizardFrame::instance().go_back(*this); });
    connect(cmdCancel, &gxButtons_H::Click, this, &frmstep5::cancel);
    connect(cmdHelp, &gxButtons_H::Click, this, &frmstep5::show_help);

    list_fields();
}

void frmstep5::showEvent(QShowEvent *event)
{
    // Another form taken since the list was made: its fields are listed, so
    // no choice applies to a field the form no longer has.
    if (field_names() != m_listed)
        list_fields();
    WizardWindow::showEvent(event);
}

void frmstep5::list_fields()
{
    lstfields->clear();
    m_listed = field_names();
    const auto &form = globals::web_page()->selected_form;
    if (!form)
        return;
    for (const auto &entry : *form->fields()) {
        auto *item = new QListWidgetItem(entry.value->name, lstfields);
        item->setSelected(entry.value->in_csv);
    }
    fit_entries(lstfields);
}

void frmstep5::cmbtypes_Click(int index)
{
    const QString format = cmbtypes->itemText(index);
    if (format == QLatin1String("*.csv"))
        cmbDelimiter->setEditText(QStringLiteral("Comma"));
    else if (format == QLatin1String("*.tab"))
        cmbDelimiter->setEditText(QStringLiteral("Tab"));
}

bool frmstep5::check()
{
    // The script takes both texts as they stand: the format's extension
    // (blanks around it aside) ends the file's name and the end of line is
    // a PHP escape.
    static const QRegularExpression format(QStringLiteral("^\\*\\.[A-Za-z0-9]+$"));
    QComboBox *wrong = nullptr;
    QString told;
    if (!format.match(globals::trim_blanks(cmbtypes->currentText())).hasMatch()) {
        wrong = cmbtypes;
        told = QStringLiteral("Please select a valid File Format: *. followed by an extension, such as *.csv");
    } else if (!CSV::separator_of(cmbDelimiter->currentText())) {
        wrong = cmbDelimiter;
        told = QStringLiteral("Please select a valid Separator: comma, semicolon, tab, space, or one character other "
                              "than \" and *");
    } else if (cmbendline->currentText() != QLatin1String("\\r\\n")
        && cmbendline->currentText() != QLatin1String("\\n")) {
        wrong = cmbendline;
        told = QStringLiteral("Please select a valid End of Line: \\r\\n or \\n");
    }
    if (!wrong)
        return true;
    MyMessage::show_message(told, 1, 3);
    wrong->setFocus();
    return false;
}

void frmstep5::get_csv_options()
{
    CSV &csv = *globals::csv_file();
    if (const auto &form = globals::web_page()->selected_form) {
        const auto &list = *form->fields();
        for (int i = 0; i < lstfields->count(); ++i) {
            const QListWidgetItem *item = lstfields->item(i);
            if (list.Contains(item->text()))
                list.Item(item->text())->in_csv = item->isSelected();
        }
    }

    const QString extension = globals::trim_blanks(QString(cmbtypes->currentText()).remove(QLatin1Char('*')));
    const QString name = txtfilename->text();
    csv.filename = name.contains(extension) ? name : name + extension;

    if (const std::optional<QString> separator = CSV::separator_of(cmbDelimiter->currentText()))
        csv.separator = *separator;

    csv.EndLine = cmbendline->currentText();
}

void frmstep5::cmdNext_Click()
{
    if (!check())
        return;
    get_csv_options();
    WizardFrame::instance().go_next(*this);
}
