#include "frmstep6b.h"

#include "MyMessage.h"
#include "WizardButtons.h"
#include "WizardFrame.h"
#include "WizardGrid.h"
#include "frmstep6a.h"
#include "named.h"

#include "generate/sql.h"
#include "model/CForm.h"
#include "model/globals.h"
#include "model/webpage.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHash>
#include <QLabel>
#include <QVBoxLayout>

namespace {

const QString kSelectType = QStringLiteral("select data type");
const QString kSelectField = QStringLiteral("<Select Field>");

void notice(const QString &text)
{
    MyMessage::show_message(text, 1, 3);
}

// What the length cell of a type takes.
enum class LengthRule { Required, Optional, None };

LengthRule length_rule(const QString &type)
{
    static const QStringList required { "INT", "Char", "VARCHAR" };
    static const QStringList optional { "TINYINT", "SmallInt", "MEDIUMINT", "BIGINT", "Float", "DOUBLE", "DECIMAL" };
    if (required.contains(type))
        return LengthRule::Required;
    if (optional.contains(type))
        return LengthRule::Optional;
    return LengthRule::None;
}

// MySQL keys a BLOB or TEXT column only by a prefix of a given length,
// which the table's definition does not give.
bool can_be_key(const QString &type)
{
    return !type.endsWith(QLatin1String("BLOB")) && !type.endsWith(QLatin1String("TEXT"));
}

// The most characters a text key may hold: the table's character set takes
// up to four bytes a character, and a key 3072 bytes.
constexpr int kLongestTextKey = 768;

// Types whose length may give the digits after the point as well.
bool takes_decimals(const QString &type)
{
    return type == QLatin1String("DECIMAL") || type == QLatin1String("Float") || type == QLatin1String("DOUBLE");
}

// A field's type as the list names it; one the list does not hold is to
// be chosen again.
QString listed_type(const QString &type)
{
    for (const QString &name : frmstep6b::type_names()) {
        if (name.compare(type, Qt::CaseInsensitive) == 0)
            return name;
    }
    return kSelectType;
}

template<typename F> void for_each_mapped_field(F &&each)
{
    const auto &form = globals::web_page()->selected_form;
    if (!form)
        return;
    for (const auto &entry : *form->fields()) {
        if (entry.value->in_mysql && !entry.value->mysql_field.isEmpty())
            each(*entry.value);
    }
}

} // namespace

const QStringList &frmstep6b::type_names()
{
    static const QStringList names { "TINYINT", "SmallInt", "MEDIUMINT", "INT", "BIGINT", "Float", "DOUBLE", "DECIMAL",
        "DateTime", "Date", "TimeStamp", "Time", "Year", "Char", "VARCHAR", "TINYBLOB", "TINYTEXT", "BLOB", "TEXT",
        "MEDIUMBLOB", "MEDIUMTEXT", "LONGBLOB", "LONGTEXT" };
    return names;
}

frmstep6b::frmstep6b(QWidget *parent)
    : WizardWindow(WizardPage::frmstep6b, 10, parent)
    , cmbfields(named(new QComboBox(this), "cmbfields"))
    , Label1(named(new QLabel(QStringLiteral("Primary key"), this), "Label1"))
    , grd(named(new WizardGrid(this), "grd"))
    , cmdBack(make_button(this, "cmdBack", QStringLiteral("<< Back")))
    , cmdNext(make_button(this, "cmdNext", QStringLiteral("Next >>")))
    , cmdCancel(make_button(this, "cmdCancel", QStringLiteral("Cancel")))
    , cmdHelp(make_button(this, "cmdHelp", QStringLiteral("Help")))
{
    setObjectName(QStringLiteral("frmstep6b"));
    // Only a mapped column can be the key.
    cmbfields->setPlaceholderText(kSelectField);
    cmbfields->setMinimumWidth(175);

    auto *key = new QHBoxLayout;
    key->addWidget(Label1);
    key->addWidget(cmbfields);
    key->addStretch(1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    for (gxButtons_H *button : { cmdBack, cmdNext, cmdCancel, cmdHelp })
        buttons->addWidget(button);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(grd, 1);
    layout->addLayout(key);
    layout->addSpacing(8);
    layout->addLayout(buttons);
    grd->setMinimumSize(175 + 175 + 80 + 80 + 4, 200);

    connect(cmdNext, &gxButtons_H::Click, this, &frmstep6b::cmdNext_Click);
    connect(cmdBack, &gxButtons_H::Click, this, [this] { WizardFrame::instance().move(*this, WizardPage::frmstep6a); });
    connect(cmdCancel, &gxButtons_H::Click, this, &frmstep6b::cancel);
    connect(cmdHelp, &gxButtons_H::Click, this, &frmstep6b::show_help);

    intialize_grid();
    intialize_comb();
}

QStringList frmstep6b::mapped_columns()
{
    QStringList columns;
    for_each_mapped_field([&columns](const Field &field) { columns << field.mysql_field; });
    return columns;
}

void frmstep6b::showEvent(QShowEvent *event)
{
    // The MySQL page's mapping changed since the grid was filled: the rows
    // follow it, keeping what was entered for the columns still mapped.
    if (mapped_columns() != m_listed) {
        QHash<QString, QStringList> entered;
        for (int r = 1; r < grd->Rows(); ++r)
            entered.insert(grd->CellText(r, 0), { grd->CellText(r, 1), grd->CellText(r, 2), grd->CellText(r, 3) });
        const QString key = primary_key_text();
        intialize_grid();
        for (int r = 1; r < grd->Rows(); ++r) {
            const auto kept = entered.constFind(grd->CellText(r, 0));
            for (int column = 1; kept != entered.constEnd() && column <= 3; ++column)
                grd->set_CellText(r, column, kept->at(column - 1));
        }
        cmbfields->clear();
        intialize_comb();
        cmbfields->setCurrentIndex(cmbfields->findText(key));
    }
    WizardWindow::showEvent(event);
}

void frmstep6b::intialize_grid()
{
    grd->set_Cols(4);
    const int widths[] = { 175, 175, 80, 80 };
    const QString headers[] = { QStringLiteral("Field name"), QStringLiteral("Field data type"),
        QStringLiteral("Length"), QStringLiteral("Default") };
    for (int column = 0; column < 4; ++column) {
        grd->set_ColWidth(column, widths[column]);
        grd->set_CellText(0, column, headers[column]);
        grd->set_CellForeColor(0, column, WizardGrid::kHeaderText);
        grd->set_CellBackColor(0, column, WizardGrid::kHeaderBack);
        grd->set_CellBold(0, column, true);
        grd->set_CellKind(0, column, WizardGrid::Plain);
    }
    grd->set_FixedCols(0);
    grd->set_Rows(1);
    int r = 1;
    for_each_mapped_field([this, &r](const Field &field) {
        grd->set_Rows(r + 1);
        for (int column = 0; column < 4; ++column) {
            grd->set_CellBackColor(r, column, WizardGrid::kDataBack);
            grd->set_CellForeColor(r, column, WizardGrid::kDataText);
        }
        grd->set_CellBold(r, 0, false);
        grd->set_CellBold(r, 1, false);
        grd->set_CellKind(r, 1, WizardGrid::DropDown);
        grd->set_CellKind(r, 2, WizardGrid::Text);
        grd->set_CellKind(r, 3, WizardGrid::Text);
        grd->set_CellText(r, 0, field.mysql_field);
        grd->set_CellText(r, 1, field.sql_type.isEmpty() ? kSelectType : listed_type(field.sql_type));
        grd->set_CellText(r, 2, sql::length_value(field.sql_length));
        grd->set_CellText(r, 3, sql::default_value(field.sql_default));
        ++r;
    });
    m_listed = mapped_columns();
    grd->ComboClear();
    populate_grd_combo();
}

void frmstep6b::intialize_comb()
{
    for_each_mapped_field([this](const Field &field) { cmbfields->addItem(field.mysql_field); });
    // Nothing is chosen but the saved key.
    cmbfields->setCurrentIndex(cmbfields->findText(globals::sql_script()->primary_key));
}

void frmstep6b::populate_grd_combo()
{
    for (const QString &name : type_names())
        grd->ComboAddItem(name);
}

QString frmstep6b::primary_key_text() const
{
    return cmbfields->currentIndex() < 0 ? kSelectField : cmbfields->currentText();
}

void frmstep6b::get_options()
{
    sql &setup = *globals::sql_script();
    setup.form = globals::web_page()->selected_form;
    if (auto *mysql_page = qobject_cast<frmstep6a *>(WizardFrame::instance().window(WizardPage::frmstep6a)))
        setup.mysql_table = globals::trim_blanks(mysql_page->table_name());
    setup.primary_key = primary_key_text();
    int r = 1;
    for_each_mapped_field([this, &r](Field &field) {
        field.sql_type = grd->CellText(r, 1);
        // An emptied cell takes the length or default away.
        const QString length = globals::trim_blanks(grd->CellText(r, 2));
        field.sql_length = length.isEmpty() ? QString() : QLatin1Char('(') + length + QLatin1Char(')');
        const QString value = grd->CellText(r, 3);
        field.sql_default = value.isEmpty() ? QString() : QStringLiteral("DEFAULT '") + value + QLatin1Char('\'');
        ++r;
    });
}

bool frmstep6b::validate()
{
    for (int r = 1; r < grd->Rows(); ++r) {
        const QString column = grd->CellText(r, 0);
        const QString type = grd->CellText(r, 1);
        if (type == kSelectType) {
            notice(QStringLiteral("please select a datatype for ' ") + column + QStringLiteral(" ' "));
            return false;
        }
        const QString length = globals::trim_blanks(grd->CellText(r, 2));
        const LengthRule rule = length_rule(type);
        // A length goes into the table's definition as it stands, so it is
        // digits (with decimals where the type has them) or nothing.
        const bool length_wrong = rule == LengthRule::Required
            ? !sql::valid_length(length, false)
            : rule == LengthRule::Optional && !length.isEmpty() && !sql::valid_length(length, takes_decimals(type));
        if (length_wrong) {
            notice(QStringLiteral("please enter a valid length for ' ") + column + QStringLiteral(" ' "));
            return false;
        }
        if (rule == LengthRule::None && !length.isEmpty()) {
            notice(QStringLiteral("You shouldn't enter length for ' ") + column + QStringLiteral(" ' "));
            return false;
        }
    }
    const QString key = primary_key_text();
    if (key == kSelectField) {
        notice(QStringLiteral("Please select a primary key"));
        return false;
    }
    for (int r = 1; r < grd->Rows(); ++r) {
        if (grd->CellText(r, 0) != key)
            continue;
        const QString type = grd->CellText(r, 1);
        QString problem;
        if (!can_be_key(type)) {
            QStringList key_types = type_names();
            key_types.removeIf([](const QString &name) { return !can_be_key(name); });
            problem = QStringLiteral("The column '") + key + QStringLiteral("' is of the type ") + type
                + QStringLiteral(", which cannot be a primary key. Please choose another primary key, or give '") + key
                + QStringLiteral("' one of the types a key can have: ") + key_types.join(QStringLiteral(", "))
                + QLatin1Char('.');
        } else if ((type == QLatin1String("Char") || type == QLatin1String("VARCHAR"))
            && globals::trim_blanks(grd->CellText(r, 2)).toInt() > kLongestTextKey) {
            problem = QStringLiteral("The column '") + key
                + QStringLiteral("' is too long to be a primary key: a key of the type ") + type
                + QStringLiteral(" can hold at most ") + QString::number(kLongestTextKey)
                + QStringLiteral(" characters. Please give it a shorter length, or choose another primary key.");
        }
        if (problem.isEmpty())
            continue;
        notice(problem);
        cmbfields->setFocus();
        return false;
    }
    return true;
}

void frmstep6b::cmdNext_Click()
{
    if (!validate())
        return;
    get_options();
    WizardFrame::instance().go_next(*this);
}
