#include "frmStep2.h"

#include "FontConversion.h"
#include "HTMLHelpViewer.h"
#include "MyMessage.h"
#include "NumericText.h"
#include "ProjectPages.h"
#include "TextFit.h"
#include "WizardButtons.h"
#include "WizardControls.h"
#include "WizardFrame.h"
#include "frmStep3.h"
#include "frmStep4.h"
#include "frmstep5.h"
#include "frmstep6a.h"
#include "named.h"

#include "generate/UploadTypes.h"
#include "generate/cmail.h"
#include "model/CForm.h"
#include "model/Cprefrences.h"
#include "model/Field.h"
#include "model/ProjectFormat.h"
#include "model/globals.h"
#include "model/webpage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QFocusEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPainterPath>
#include <QPlainTextEdit>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QTextEdit>
#include <QVBoxLayout>

#include <cmath>
#include <functional>
#include <initializer_list>
#include <map>

namespace {

const QString kDontValidate = QStringLiteral("Don't validate");
const QString kBetween = QStringLiteral("Between");
const QString kNoCompareField = QStringLiteral("<Select a field to compare with >");
const QString kDefaultUrl = QStringLiteral("http://");
// The field list's width with short names; longer ones widen it up to the
// most the page's default size leaves for it, then it scrolls.
constexpr int kFieldListWidth = 190;
constexpr int kFieldListMost = 280;

enum class Panel { None, Ranges, Compare, Values, Upload };

// The rule list: what choosing an entry writes into the field (-1: the
// format is left as it was) and which settings it shows.
struct Rule
{
    const char *text;
    qint32 kind;
    qint32 expression;
    Panel panel;
};

const Rule kRules[] = {
    { "Don't validate", 8, -1, Panel::None },
    { "Number of characters", 4, -1, Panel::Ranges },
    { "Compare with another field", 1, -1, Panel::Compare },
    { "Uploaded file", 7, -1, Panel::Upload },
    { "Numeric range", 0, -1, Panel::Ranges },
    { "List of values", 3, -1, Panel::Values },
    { "Email address", 2, 0, Panel::None },
    { "URL", 2, 1, Panel::None },
    { "5 digit zip code", 2, 3, Panel::None },
    { "zip code +4", 2, 4, Panel::None },
    { "Credit card", 2, 5, Panel::None },
    { "IP", 2, 2, Panel::None },
};

const Rule *rule_named(const QString &text)
{
    for (const Rule &rule : kRules) {
        if (text == QLatin1String(rule.text))
            return &rule;
    }
    return nullptr;
}

// The conditions of the bounds. The codes stored are those under which the
// generated test fails, so each is the negation of the relation the user
// picks; 6 is no bound.
struct Operator
{
    const char *text;
    qint32 first;
    qint32 second;
};

const Operator kOperators[] = {
    { "Between", 1, 0 },
    { "Greater than", 3, 6 },
    { "Less than", 2, 6 },
    { "Greater than or equal", 1, 6 },
    { "Less than or equal", 0, 6 },
    { "Equal to", 5, 6 },
    { "Not Equal to", 4, 6 },
};

const Operator *operator_named(const QString &text)
{
    for (const Operator &entry : kOperators) {
        if (text == QLatin1String(entry.text))
            return &entry;
    }
    return nullptr;
}

void notice(const QString &text)
{
    MyMessage::show_message(text, 1, 3);
}

std::shared_ptr<fields> form_fields()
{
    const auto &form = globals::web_page()->selected_form;
    return form ? form->fields() : nullptr;
}

// The error alert as the model keeps it (CR LF line breaks) and as the text
// box shows it.
QString model_text(const QString &box_text)
{
    QString text = box_text;
    return text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
}

QString box_text(const QString &model)
{
    QString text = model;
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

QString alert_html(const QString &message, const FontSpec &font, qint32 color)
{
    QString text = message;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("<br>"));
    text.replace(QLatin1Char('\n'), QStringLiteral("<br>"));
    return Html_converter::text_to_html(text, font, color);
}

// A size as its text box shows it: the shortest text that reads back as the
// same number.
QString size_text(double size)
{
    return QString::number(size, 'g', QLocale::FloatingPointShortest);
}

// The list's small pictures: a tick for a field with a rule, a bar for one
// left unchecked; none draws nothing, so that names stay aligned.
QIcon small_icon(int picture)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    if (picture == 0)
        return QIcon(pixmap);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const bool rule = picture == frmStep2::kRuleIcon;
    painter.setPen(Qt::NoPen);
    painter.setBrush(rule ? QColor(0, 140, 60) : QColor(150, 150, 150));
    painter.drawEllipse(QRectF(1, 1, 14, 14));
    painter.setPen(QPen(Qt::white, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    if (rule) {
        QPainterPath tick;
        tick.moveTo(4.5, 8.5);
        tick.lineTo(7, 11);
        tick.lineTo(11.5, 5);
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(tick);
    } else {
        painter.drawLine(QPointF(4.5, 8), QPointF(11.5, 8));
    }
    return QIcon(pixmap);
}

} // namespace

QString &frmStep2::types_file()
{
    static QString path;
    return path;
}

QStringList frmStep2::read_types(const QString &path, QString *error, QStringList *refused)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = file.errorString();
        return {};
    }
    QString text = QString::fromUtf8(file.readAll());
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);

    // Items as a delimited read gives them: separated by commas and line
    // ends, blanks around them dropped, a quoted item taken whole.
    const auto separator
        = [](QChar c) { return c == QLatin1Char(',') || c == QLatin1Char('\r') || c == QLatin1Char('\n'); };
    QStringList entries;
    const qsizetype n = text.size();
    qsizetype i = 0;
    while (i < n) {
        while (i < n && (text.at(i) == QLatin1Char(' ') || text.at(i) == QLatin1Char('\t')))
            ++i;
        QString item;
        if (i < n && text.at(i) == QLatin1Char('"')) {
            for (++i; i < n && text.at(i) != QLatin1Char('"'); ++i)
                item += text.at(i);
            while (i < n && !separator(text.at(i)))
                ++i;
        } else {
            for (; i < n && !separator(text.at(i)); ++i)
                item += text.at(i);
        }
        if (i < n) {
            if (text.at(i) == QLatin1Char('\r') && i + 1 < n && text.at(i + 1) == QLatin1Char('\n'))
                ++i;
            ++i;
        }
        item = item.trimmed();
        if (item.isEmpty())
            continue;
        // A type whose every file the script refuses is not offered.
        if (const QString why = UploadTypes::refusal(item); why.isEmpty())
            entries << item;
        else if (refused)
            *refused << item + QStringLiteral(" (") + why + QLatin1Char(')');
    }
    return entries;
}

frmStep2::frmStep2(QWidget *parent)
    : WizardWindow(WizardPage::frmStep2, 2, parent)
    , lstfields(named(new QListWidget(this), "lstfields"))
    , lblfield(named(new QLabel(this), "lblfield"))
    , Label4(named(new QLabel(QStringLiteral("Validation "), this), "Label4"))
    , cmbvalidation(make_choice_combo(this, "cmbvalidation"))
    , chknull(named(new QCheckBox(QStringLiteral("Required (don't allow empty values)"), this), "chknull"))
    , Label3(named(new QLabel(QStringLiteral("Error Alert (Only if 'embed result pages' is selected in step1)"), this),
          "Label3"))
    , main(named(new QTextEdit(this), "main"))
    , Browse(make_button(this, "Browse", QStringLiteral("Browse")))
    , com(this)
    , ranges(named(new QWidget(this), "ranges"))
    , cmboperation(make_choice_combo(ranges, "cmboperation"))
    , lblmin(named(new QLabel(QStringLiteral("Min"), ranges), "lblmin"))
    , txtmin(named(new QLineEdit(ranges), "txtmin"))
    , lblmax(named(new QLabel(QStringLiteral("Max"), ranges), "lblmax"))
    , txtmax(named(new QLineEdit(ranges), "txtmax"))
    , pcompare(named(new QWidget(this), "pcompare"))
    , Label2(named(new QLabel(QStringLiteral("Fields"), pcompare), "Label2"))
    , cmbfields(make_editable_combo(pcompare, "cmbfields"))
    , values(named(new QWidget(this), "values"))
    , Label5(named(new QLabel(QStringLiteral("Value"), values), "Label5"))
    , txtValue(named(new QLineEdit(values), "txtValue"))
    , cmdAdd(make_button(values, "cmdAdd", QStringLiteral("Add")))
    , cmdRemove(make_button(values, "cmdRemove", QStringLiteral("Remove")))
    , lstValues(named(new QListWidget(values), "lstValues"))
    , VField(named(new QWidget(this), "VField"))
    , txtsize(named(new QLineEdit(VField), "txtsize"))
    , txtdestination(named(new QLineEdit(VField), "txtdestination"))
    , txturl(named(new QLineEdit(kDefaultUrl, VField), "txturl"))
    , lsttypes(named(new QListWidget(VField), "lsttypes"))
    , lblTypesMissing(named(new QLabel(VField), "lblTypesMissing"))
    , cmdNext(make_button(this, "cmdNext", QStringLiteral("Next >>")))
    , cmdBack(make_button(this, "cmdBack", QStringLiteral("<< Back")))
    , cmdCancel(make_button(this, "cmdCancel", QStringLiteral("Cancel")))
    , cmdHelp(make_button(this, "cmdHelp", QStringLiteral("Help")))
    , m_font(com.Font())
    , m_color(com.Color())
{
    setObjectName(QStringLiteral("frmStep2"));

    // The rule list.
    for (const Rule &rule : kRules)
        cmbvalidation->addItem(QString::fromLatin1(rule.text));
    show_choice(cmbvalidation, kDontValidate);
    cmbvalidation->setToolTip(QStringLiteral("Select Validation rule"));

    lstfields->setIconSize(QSize(16, 16));
    lstfields->setSelectionMode(QAbstractItemView::SingleSelection);
    lstfields->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lstfields->viewport()->installEventFilter(this);
    lstfields->setFixedWidth(kFieldListWidth);

    QFont title = lblfield->font();
    title.setBold(true);
    title.setPointSizeF(title.pointSizeF() * 1.2);
    lblfield->setFont(title);

    main->setAcceptRichText(false);
    main->setToolTip(QStringLiteral("Message to the user if validation fails"));
    main->installEventFilter(this);
    main->setTabChangesFocus(true);
    main->setMaximumHeight(90);

    // Bounds.
    for (const Operator &entry : kOperators)
        cmboperation->addItem(QString::fromLatin1(entry.text));
    show_choice(cmboperation, kBetween);
    txtmin->installEventFilter(this);
    txtmax->installEventFilter(this);
    auto *range_layout = new QGridLayout(ranges);
    range_layout->setContentsMargins(0, 0, 0, 0);
    range_layout->addWidget(cmboperation, 0, 0, 1, 4);
    range_layout->addWidget(lblmin, 1, 0);
    range_layout->addWidget(txtmin, 1, 1);
    range_layout->addWidget(lblmax, 1, 2);
    range_layout->addWidget(txtmax, 1, 3);
    range_layout->setRowStretch(2, 1);

    // The field to compare with.
    cmbfields->setEditText(kNoCompareField);
    auto *compare_layout = new QGridLayout(pcompare);
    compare_layout->setContentsMargins(0, 0, 0, 0);
    compare_layout->addWidget(Label2, 0, 0);
    compare_layout->addWidget(cmbfields, 0, 1);
    compare_layout->setColumnStretch(1, 1);
    compare_layout->setRowStretch(1, 1);

    // Allowed values.
    cmdRemove->setEnabled(false);
    auto *values_layout = new QGridLayout(values);
    values_layout->setContentsMargins(0, 0, 0, 0);
    values_layout->addWidget(Label5, 0, 0);
    values_layout->addWidget(txtValue, 0, 1);
    values_layout->addWidget(cmdAdd, 0, 2);
    values_layout->addWidget(lstValues, 1, 1);
    values_layout->addWidget(cmdRemove, 1, 2, Qt::AlignTop);

    // Uploads.
    txtsize->setToolTip(QStringLiteral("maximum size of uploaded files"));
    txtdestination->setToolTip(QStringLiteral("The directory on your server where the file should be uploaded."));
    txturl->setToolTip(QStringLiteral("For example http://www.yourserver.com/forms/uploads when the script is "
                                      "http://www.yourserver.com/forms/script.php and the upload directory is "
                                      "uploads"));
    txturl->setCursorPosition(txturl->text().size());
    lsttypes->setSelectionMode(QAbstractItemView::MultiSelection);
    lblTypesMissing->setWordWrap(true);
    WizardWindow::set_text_color(lblTypesMissing, QColor(192, 0, 0));
    auto *upload_layout = new QGridLayout(VField);
    upload_layout->setContentsMargins(0, 0, 0, 0);
    upload_layout->addWidget(named(new QLabel(QStringLiteral("Maximum Size"), VField), "lblsize"), 0, 0);
    upload_layout->addWidget(txtsize, 0, 1);
    upload_layout->addWidget(named(new QLabel(QStringLiteral("KB"), VField), "lblkb"), 0, 2);
    upload_layout->addWidget(named(new QLabel(QStringLiteral("Upload Directory"), VField), "lbldestination"), 1, 0);
    upload_layout->addWidget(txtdestination, 1, 1, 1, 2);
    upload_layout->addWidget(named(new QLabel(QStringLiteral("URL TO The Upload Folder"), VField), "lblurl"), 2, 0);
    upload_layout->addWidget(txturl, 2, 1, 1, 2);
    // The types under their caption, as wide as the panel: MIME types are
    // long and must show whole.
    upload_layout->addWidget(named(new QLabel(QStringLiteral("Permissible file types"), VField), "lbltypes"), 3, 0);
    upload_layout->addWidget(lsttypes, 4, 0, 1, 3);
    upload_layout->addWidget(lblTypesMissing, 5, 0, 1, 3);
    upload_layout->setColumnStretch(1, 1);

    // The offered types, read once.
    QString error;
    QStringList refused;
    const QString path = types_file().isEmpty()
        ? QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("types.txt"))
        : types_file();
    lsttypes->addItems(read_types(path, &error, &refused));
    fit_entries(lsttypes, 0);
    if (!error.isEmpty()) {
        lblTypesMissing->setText(QStringLiteral("No file types can be offered: %1 could not be read (%2).")
                                     .arg(QDir::toNativeSeparators(path), error));
    } else if (!refused.isEmpty()) {
        lblTypesMissing->setText(QStringLiteral("Not offered, since the script refuses every such file: ")
            + refused.join(QStringLiteral(", ")) + QLatin1Char('.'));
    }
    lblTypesMissing->setVisible(!error.isEmpty() || !refused.isEmpty());

    install_help_context(VField, 9);

    // The four settings panels share one place; at most one shows.
    auto *panels = new QWidget(this);
    auto *panel_layout = new QGridLayout(panels);
    panel_layout->setContentsMargins(0, 0, 0, 0);
    int height = 0;
    for (QWidget *panel : { ranges, pcompare, values, VField }) {
        panel_layout->addWidget(panel, 0, 0);
        height = std::max(height, panel->minimumSizeHint().height());
        panel->hide();
    }
    panels->setMinimumHeight(height);

    auto *editor = new QGridLayout;
    editor->addWidget(lblfield, 0, 0, 1, 3);
    editor->addWidget(Label4, 1, 0);
    editor->addWidget(cmbvalidation, 1, 1, 1, 2);
    editor->addWidget(chknull, 2, 1, 1, 2, Qt::AlignLeft);
    editor->addWidget(panels, 3, 0, 1, 3);
    editor->addWidget(Label3, 4, 0, 1, 3);
    editor->addWidget(main, 5, 0, 1, 2);
    editor->addWidget(Browse, 5, 2, Qt::AlignTop);
    editor->setColumnStretch(1, 1);
    editor->setRowStretch(3, 1);

    auto *body = new QHBoxLayout;
    body->addWidget(lstfields);
    body->addLayout(editor, 1);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    for (gxButtons_H *button : { cmdBack, cmdNext, cmdCancel, cmdHelp })
        buttons->addWidget(button);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(body, 1);
    layout->addLayout(buttons);
    apply_alert_font();

    connect(lstfields, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0)
            lstfields_ItemClick();
    });
    connect(lstfields, &QListWidget::itemClicked, this, [this](QListWidgetItem *item) {
        // A click that moved the selection was handled as it moved.
        if (lstfields->row(item) == m_row_before_press)
            lstfields_ItemClick();
    });
    connect(cmbvalidation, &QComboBox::activated, this, &frmStep2::cmbvalidation_Click);
    connect(cmboperation, &QComboBox::activated, this, &frmStep2::cmboperation_Click);
    connect(cmbfields, &QComboBox::activated, this, &frmStep2::cmbfields_Click);
    connect(chknull, &QCheckBox::toggled, this, &frmStep2::chknull_Click);
    connect(txtmin, &QLineEdit::textChanged, this, &frmStep2::txtmin_Change);
    connect(txtmax, &QLineEdit::textChanged, this, &frmStep2::txtmax_Change);
    connect(cmdAdd, &gxButtons_H::MouseDown, this, &frmStep2::cmdAdd_MouseDown);
    // The keyboard, which gives the button no MouseDown, adds as Space
    // comes up (Enter on the button too).
    connect(cmdAdd, &gxButtons_H::KeyUp, this, [this](int key) {
        if (key == 32)
            cmdAdd_MouseDown();
    });
    // Enter in the value box adds the value, as Add does.
    connect(txtValue, &QLineEdit::returnPressed, this, &frmStep2::cmdAdd_MouseDown);
    connect(cmdRemove, &gxButtons_H::Click, this, &frmStep2::cmdRemove_Click);
    connect(txtsize, &QLineEdit::textChanged, this, &frmStep2::txtsize_Change);
    connect(txtdestination, &QLineEdit::textChanged, this, &frmStep2::txtdestination_Change);
    connect(txturl, &QLineEdit::textChanged, this, &frmStep2::txturl_Change);
    connect(main, &QTextEdit::textChanged, this, &frmStep2::main_Change);
    connect(Browse, &gxButtons_H::Click, this, &frmStep2::Browse_Click);
    connect(cmdNext, &gxButtons_H::Click, this, &frmStep2::cmdNext_Click);
    connect(cmdBack, &gxButtons_H::Click, this, &frmStep2::cmdBack_Click);
    connect(cmdCancel, &gxButtons_H::Click, this, &frmStep2::cancel);
    connect(cmdHelp, &gxButtons_H::Click, this, &frmStep2::show_help);
}

void frmStep2::fill_field_lists(bool from_project)
{
    const QSignalBlocker blocker(lstfields);
    lstfields->clear();
    cmbfields->clear();
    // The rows now stand for another form's fields: nothing shown yet, so
    // no type selection is stored into a field it was never made for.
    m_last_index = -1;
    if (const auto list = form_fields()) {
        for (const auto &entry : *list) {
            const Field &field = *entry.value;
            lstfields->addItem(field.name);
            set_small_icon(lstfields->count() - 1, from_project && field.validation_type != 8 ? kRuleIcon : 0);
            cmbfields->addItem(field.name);
        }
    }
    fit_entries(lstfields, kFieldListMost);
    lstfields->setFixedWidth(std::max(kFieldListWidth, lstfields->minimumWidth()));
    cmbfields->setEditText(kNoCompareField);
    clear_editor();
}

void frmStep2::clear_editor()
{
    // No field is selected, so the boxes' handlers write nothing: the editor
    // only stops showing a field of the form shown before.
    lblfield->clear();
    show_choice(cmbvalidation, kDontValidate);
    chknull->setChecked(false);
    hide_all();
    main->clear();
}

QString frmStep2::selected_text() const
{
    const QListWidgetItem *item = lstfields->currentItem();
    return item ? item->text() : QString();
}

std::shared_ptr<Field> frmStep2::current_field() const
{
    const QString name = selected_text();
    const auto list = form_fields();
    if (name.isEmpty() || !list || !list->Contains(name))
        return nullptr;
    return list->Item(name);
}

void frmStep2::showEvent(QShowEvent *event)
{
    WizardWindow::showEvent(event);
    if (!event->spontaneous())
        activated();
}

bool frmStep2::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonPress && watched == lstfields->viewport()) {
        m_row_before_press = lstfields->currentRow();
    } else if (event->type() == QEvent::FocusIn
        && static_cast<QFocusEvent *>(event)->reason() != Qt::ActiveWindowFocusReason) {
        // Entering a box stores the rule shown, and for a bound the
        // condition shown, even when the user never chose them.
        if (watched == main) {
            get_validationRule();
        } else if (watched == txtmin || watched == txtmax) {
            get_validationRule();
            get_selected_operator();
        }
    }
    return WizardWindow::eventFilter(watched, event);
}

void frmStep2::activated()
{
    const bool embedded = globals::prefs()->is_embeded_result_page;
    main->setEnabled(embedded);
    Browse->setEnabled(embedded);
    lblfield->setText(selected_text());
    if (lstfields->count() == 0)
        return;
    select_row(0);
    lstfields_ItemClick();
}

void frmStep2::select_row(int row)
{
    const QSignalBlocker blocker(lstfields);
    lstfields->setCurrentRow(row);
}

void frmStep2::lstfields_ItemClick()
{
    const int new_index = lstfields->currentRow();
    if (new_index < 0)
        return;
    if (m_last_index != -1) {
        const auto list = form_fields();
        if (list && m_last_index < list->Count())
            save_fields(*list->Item(m_last_index + 1));
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }
    if (const QListWidgetItem *item = lstfields->item(new_index))
        load_setting(item->text());
    m_last_index = new_index;
}

void frmStep2::prepare_lstfields(int position, const QString &name)
{
    Q_UNUSED(name);
    lstfields->setFocus();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    select_row(position - 1);
    lstfields_ItemClick();
}

void frmStep2::load_setting(const QString &name)
{
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    const auto list = form_fields();
    if (name.isEmpty() || !list || !list->Contains(name))
        return;
    const std::shared_ptr<Field> field = list->Item(name);
    Field &f = *field;
    lblfield->setText(name);
    chknull->show();

    switch (f.validation_type) {
    case 0:
        show_choice(cmbvalidation, QStringLiteral("Numeric range"));
        hide_all();
        ranges->show();
        load_operator_text(f.range_operator1, f.range_operator2);
        break;
    case 1: {
        show_choice(cmbvalidation, QStringLiteral("Compare with another field"));
        hide_all();
        pcompare->show();
        const QString other = f.compare_field()->name;
        cmbfields->setEditText(other.isEmpty() ? kNoCompareField : other);
        break;
    }
    case 2:
        hide_all();
        for (const Rule &rule : kRules) {
            if (rule.kind == 2 && rule.expression == f.expression_type)
                show_choice(cmbvalidation, QString::fromLatin1(rule.text));
        }
        break;
    case 3:
        show_choice(cmbvalidation, QStringLiteral("List of values"));
        hide_all();
        values->show();
        load_values(f.list_values);
        break;
    case 4:
        show_choice(cmbvalidation, QStringLiteral("Number of characters"));
        hide_all();
        ranges->show();
        txtmin->setText(QString::number(f.length_min));
        txtmax->setText(QString::number(f.length_max));
        load_operator_text(f.length_operator1, f.length_operator2);
        break;
    case 7:
        show_choice(cmbvalidation, QStringLiteral("Uploaded file"));
        hide_all();
        VField->show();
        txtsize->setText(size_text(f.max_size));
        txtdestination->setText(f.upload_folder);
        txturl->setText(f.upload_url);
        load_lstFiles(f);
        break;
    case 8:
        show_choice(cmbvalidation, kDontValidate);
        hide_all();
        break;
    default:
        break;
    }

    chknull->setChecked(f.required);
    if (globals::prefs()->is_embeded_result_page)
        main->setPlainText(box_text(f.error_message));
}

void frmStep2::hide_all()
{
    for (QWidget *panel : { values, ranges, pcompare, VField })
        panel->hide();
    if (const auto field = current_field()) {
        const Field &f = *field;
        if (f.validation_type != 4) {
            txtmin->setText(QString::number(f.range_min));
            txtmax->setText(QString::number(f.range_max));
        } else {
            txtmin->setText(QString::number(f.length_min));
            txtmax->setText(QString::number(f.length_max));
        }
        txtdestination->setText(f.upload_folder);
        txturl->setText(f.upload_url);
        txtsize->setText(size_text(f.max_size));
        load_lstFiles(*field);
    }
    txtValue->clear();
    lstValues->clear();
    cmdRemove->setEnabled(false);
    show_choice(cmboperation, kBetween);
    set_one_box(false);
    cmbfields->setEditText(kNoCompareField);
}

void frmStep2::set_one_box(bool one_box)
{
    lblmin->setText(one_box ? QStringLiteral("Value") : QStringLiteral("Min"));
    lblmax->setText(QStringLiteral("Max"));
    lblmax->setVisible(!one_box);
    txtmax->setVisible(!one_box);
    txtmin->show();
}

void frmStep2::set_small_icon(int row, int picture)
{
    if (QListWidgetItem *item = lstfields->item(row)) {
        item->setIcon(small_icon(picture));
        item->setData(kSmallIconRole, picture);
    }
}

void frmStep2::cmbvalidation_Click()
{
    chknull->show();
    if (selected_text().isEmpty()) {
        notice(QStringLiteral("Please select a field "));
        return;
    }
    const QString text = cmbvalidation->currentText();
    if (const Rule *rule = rule_named(text)) {
        // The kind first, so that the bounds shown are the new rule's.
        if (const auto field = current_field()) {
            field->validation_type = rule->kind;
            if (rule->expression >= 0)
                field->expression_type = rule->expression;
        }
        hide_all();
        const std::map<Panel, QWidget *> panels { { Panel::Ranges, ranges }, { Panel::Compare, pcompare },
            { Panel::Values, values }, { Panel::Upload, VField } };
        if (const auto shown = panels.find(rule->panel); shown != panels.end())
            shown->second->show();
        // An upload left out passes its check; "Required" asks for a file.
        if (rule->panel == Panel::Upload)
            globals::prefs()->is_upload = true;
        if (rule->kind == 2 && rule->expression == 5)
            globals::prefs()->is_creditcard = true;
    }
    set_small_icon(lstfields->currentRow(), text == kDontValidate ? kNoRuleIcon : kRuleIcon);
}

void frmStep2::get_validationRule()
{
    const auto field = current_field();
    const Rule *rule = rule_named(cmbvalidation->currentText());
    if (!field || !rule || rule->kind == 7)
        return;
    field->validation_type = rule->kind;
    if (rule->expression >= 0)
        field->expression_type = rule->expression;
    if (rule->kind == 2 && rule->expression == 5)
        globals::prefs()->is_creditcard = true;
}

void frmStep2::cmboperation_Click()
{
    get_validationRule();
    if (const Operator *entry = operator_named(cmboperation->currentText()))
        set_one_box(entry->second == 6);
    get_selected_operator();
}

void frmStep2::get_selected_operator()
{
    const auto field = current_field();
    const Operator *entry = operator_named(cmboperation->currentText());
    if (!field || !entry)
        return;
    if (field->validation_type == 0) {
        field->range_operator1 = entry->first;
        field->range_operator2 = entry->second;
    } else if (field->validation_type == 4) {
        field->length_operator1 = entry->first;
        field->length_operator2 = entry->second;
    }
}

void frmStep2::load_operator_text(qint32 first, qint32 second)
{
    if (second == 6 && first != 6) {
        set_one_box(true);
        for (const Operator &entry : kOperators) {
            if (entry.second == 6 && entry.first == first)
                show_choice(cmboperation, QString::fromLatin1(entry.text));
        }
    } else if ((second == 6 && first == 6) || (second == 0 && first == 1)) {
        show_choice(cmboperation, kBetween);
        set_one_box(false);
    }
}

void frmStep2::txtmin_Change()
{
    const auto field = current_field();
    if (!field)
        return;
    const qint32 bound = NumericText::to_long(NumericText::Val(txtmin->text()));
    if (field->validation_type == 0)
        field->range_min = bound;
    else if (field->validation_type == 4)
        field->length_min = bound;
}

void frmStep2::txtmax_Change()
{
    const auto field = current_field();
    if (!field)
        return;
    const qint32 bound = NumericText::to_long(NumericText::Val(txtmax->text()));
    if (field->validation_type == 0)
        field->range_max = bound;
    else if (field->validation_type == 4)
        field->length_max = bound;
}

void frmStep2::cmbfields_Click()
{
    get_validationRule();
    const auto field = current_field();
    if (!field || field->validation_type != 1)
        return;
    const QString text = cmbfields->currentText();
    if (text == kNoCompareField) {
        notice(QStringLiteral("please select a field to compare with"));
        return;
    }
    const auto list = form_fields();
    if (list && list->Contains(text))
        field->set_compare_field(list->Item(text));
}

void frmStep2::chknull_Click()
{
    if (const auto field = current_field())
        field->required = chknull->isChecked();
}

void frmStep2::cmdAdd_MouseDown()
{
    get_validationRule();
    // Blanks typed around a value are no part of it.
    const QString value = txtValue->text().trimmed();
    // A value the script would take for one listed allows nothing more.
    for (int i = 0; i < lstValues->count() && !value.isEmpty(); ++i) {
        if (globals::ascii_lower(lstValues->item(i)->text().trimmed()) == globals::ascii_lower(value)) {
            notice(QStringLiteral("This value is already in the list"));
            txtValue->setFocus();
            txtValue->selectAll();
            return;
        }
    }
    if (!value.isEmpty()) {
        lstValues->addItem(value);
        txtValue->clear();
        lstValues->setCurrentRow(lstValues->count() - 1);
        cmdRemove->setEnabled(true);
    }
    if (lstValues->count() >= 1)
        get_values();
}

void frmStep2::cmdRemove_Click()
{
    const int row = lstValues->currentRow();
    if (row >= 0 && lstValues->count() > 0 && lstValues->item(row)->isSelected())
        delete lstValues->takeItem(row);
    // Also after the last value went: a removed value must not stay allowed.
    get_values();
    cmdRemove->setEnabled(lstValues->count() > 0);
}

void frmStep2::get_values()
{
    const auto field = current_field();
    if (!field)
        return;
    QString list;
    if (lstValues->count() > 0) {
        list = QStringLiteral("|");
        for (int i = 0; i < lstValues->count(); ++i)
            list += lstValues->item(i)->text() + QLatin1Char('|');
    }
    field->list_values = list;
}

void frmStep2::load_values(const QString &list)
{
    lstValues->clear();
    for (const QString &value : list.split(QLatin1Char('|'), Qt::SkipEmptyParts))
        lstValues->addItem(value);
    cmdRemove->setEnabled(lstValues->count() > 0);
}

void frmStep2::txtsize_Change()
{
    const auto field = current_field();
    if (!field)
        return;
    double size = NumericText::Val(txtsize->text());
    // A size whose byte count is no number at all counts as none given.
    if (!std::isfinite(size * 1000))
        size = 0;
    field->max_size = size;
}

void frmStep2::txtdestination_Change()
{
    if (const auto field = current_field())
        field->upload_folder = txtdestination->text();
}

void frmStep2::txturl_Change()
{
    if (const auto field = current_field())
        field->upload_url = txturl->text();
}

void frmStep2::load_lstFiles(Field &field)
{
    lsttypes->clearSelection();
    for (const auto &type : *field.mime_types()) {
        const auto found = lsttypes->findItems(type.value, Qt::MatchExactly | Qt::MatchCaseSensitive);
        if (!found.isEmpty())
            found.front()->setSelected(true);
    }
}

void frmStep2::save_fields(Field &field)
{
    StringCollection &types = *field.mime_types();
    types.Clear();
    for (int i = 0; i < lsttypes->count(); ++i) {
        const QListWidgetItem *item = lsttypes->item(i);
        // A type listed twice in types.txt is kept once.
        if (item->isSelected() && !types.Contains(item->text()))
            types.Add(item->text(), item->text());
    }
}

void frmStep2::main_Change()
{
    const auto field = current_field();
    if (!field)
        return;
    field->error_message = model_text(main->toPlainText());
    field->error_html = alert_html(field->error_message, m_font, m_color);
}

void frmStep2::apply_alert_font()
{
    main->setFont(to_qfont(m_font));
    QPalette palette = main->palette();
    palette.setColor(QPalette::Text, to_qcolor(m_color));
    main->setPalette(palette);
}

void frmStep2::set_alert_font(const FontSpec &font, qint32 color)
{
    m_font = font;
    m_color = color;
    // The font dialog starts from it and gives it back when cancelled.
    com.set_Font(font);
    com.set_Color(color);
    apply_alert_font();
}

void frmStep2::Browse_Click()
{
    com.set_Flags(259);
    com.set_Min(8);
    com.set_Max(24);
    com.ShowFont();
    m_font = com.Font();
    m_color = com.Color();
    apply_alert_font();
    main_Change();
}

bool frmStep2::chk_validation_settings()
{
    const auto list = form_fields();
    if (!list)
        return true;
    const bool embedded = globals::prefs()->is_embeded_result_page;
    int position = 1;
    for (const auto &entry : *list) {
        Field &f = *entry.value;
        const QString name = f.name;
        QString problem;
        if (f.validation_type != 8) {
            if (f.error_message.isEmpty() && embedded) {
                problem = QStringLiteral("Please enter an error alert for field '") + name + QLatin1Char('\'');
            } else {
                f.error_html = alert_html(f.error_message, m_font, m_color);
                if (f.validation_type == 1) {
                    if (f.compare_field()->name.isEmpty())
                        problem
                            = QStringLiteral("Please select a field to be compared with '") + name + QLatin1Char('\'');
                } else if (f.validation_type == 3) {
                    if (f.list_values.isEmpty())
                        problem
                            = QStringLiteral("Please enter the list of values for field '") + name + QLatin1Char('\'');
                } else if (f.validation_type == 7) {
                    // The generated script takes "\" in the folder for "/".
                    QString folder = f.upload_folder;
                    folder.replace(QLatin1Char('\\'), QLatin1Char('/'));
                    folder = globals::remove_last_separator(folder, QStringLiteral("/"));
                    if (f.upload_url == kDefaultUrl || f.upload_url.isEmpty())
                        problem = QStringLiteral("Please enter the upload folder URL for field '") + name
                            + QLatin1Char('\'');
                    else if (!f.upload_url.contains(folder))
                        problem = QStringLiteral("Upload folder URL of field '") + name
                            + QStringLiteral("' doesn't seem right; it should include the upload destination folder.");
                    else if (f.max_size <= 0)
                        problem = QStringLiteral("Please enter the Maximum file size for field '") + name
                            + QLatin1Char('\'');
                    else if (f.mime_types()->Count() == 0)
                        problem = QStringLiteral("Please check the permissible types for Field '") + name
                            + QLatin1Char('\'');
                }
            }
        } else if (f.field_type == QLatin1String("file")) {
            problem = QStringLiteral("Please specify the upload setting of field '") + name
                + QStringLiteral("' To be able to receive it on your server. ");
        }
        if (!problem.isEmpty()) {
            notice(problem);
            prepare_lstfields(position, name);
            return false;
        }
        ++position;
    }
    return true;
}

void frmStep2::load_saved_settings()
{
    // A project that could not be read fills nothing: the run goes on as
    // without one.
    if (globals::project_file.isEmpty() || globals::project_error)
        return;
    const Cprefrences &prefs = *globals::prefs();
    if (prefs.is_email)
        loadEmails(*globals::email_settings());
    if (prefs.is_autoresponde)
        loadAutoResponde(*globals::auto_settings(), *globals::auto_message_lines());
    if (prefs.is_csv)
        load_csv(*globals::csv_settings());
    if (prefs.is_mysql)
        load_MySQL(*globals::mysql_settings());
    m_saved_settings_loaded = true;
}

namespace {

// Writes each saved value the section holds into its box, in the order
// given; a key the section lacks leaves its box as it is.
using Filler = std::pair<const char *, std::function<void(const QString &)>>;
void fill_saved(const StringCollection &section, std::initializer_list<Filler> fillers)
{
    for (const auto &[key, fill] : fillers) {
        if (section.Contains(QLatin1String(key)))
            fill(section.Item(QLatin1String(key)));
    }
}

} // namespace

void frmStep2::loadEmails(const StringCollection &section)
{
    auto *page = static_cast<frmStep3 *>(WizardFrame::instance().window(WizardPage::frmStep3));
    fill_saved(section,
        { { "sender", [page](const QString &text) { page->cmbfields->setEditText(text); } },
            { "email_to",
                [page](const QString &text) {
                    page->txtTo->setText(text);
                    // Each address once: the list is keyed by the address.
                    StringCollection &recipients = *globals::owner_mail()->recipients();
                    for (const QString &address : text.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
                        if (!recipients.Contains(address))
                            recipients.Add(address, address);
                    }
                } },
            { "subject", [page](const QString &text) { page->txtSubject->setText(text); } } });
    // The body and the IP box as the page showed them, when the file holds
    // them; otherwise the page keeps the body made from the form's fields.
    if (const std::optional<ProjectPages::SavedOwnerPage> saved = ProjectPages::saved_owner_page()) {
        page->chkIP->setChecked(saved->send_ip);
        page->txtMessage->setPlainText(saved->message);
    }
}

void frmStep2::loadAutoResponde(const StringCollection &section, const StringCollection &lines)
{
    auto *page = static_cast<frmStep4 *>(WizardFrame::instance().window(WizardPage::frmStep4));
    fill_saved(section,
        { { "sender", [page](const QString &text) { page->txtsender->setText(text); } },
            { "email_to",
                [page](const QString &text) {
                    page->cmbfields->setEditText(globals::trim_blanks(QString(text).remove(QLatin1Char('$'))));
                } },
            { "subject", [page](const QString &text) { page->txtSubject->setText(text); } } });
    page->txtMessage->setPlainText(ProjectPages::saved_auto_message(lines));
}

void frmStep2::load_csv(const StringCollection &section)
{
    auto *page = static_cast<frmstep5 *>(WizardFrame::instance().window(WizardPage::frmstep5));
    fill_saved(section,
        { { "separator", [page](const QString &text) { page->cmbDelimiter->setEditText(text); } },
            { "EndLine", [page](const QString &text) { page->cmbendline->setEditText(text); } },
            { "format", [page](const QString &text) { page->cmbtypes->setEditText(text); } },
            { "filename", [page](const QString &text) { page->txtfilename->setText(text); } } });
}

void frmStep2::load_MySQL(const StringCollection &section)
{
    auto *page = static_cast<frmstep6a *>(WizardFrame::instance().window(WizardPage::frmstep6a));
    fill_saved(section,
        { { "host", [page](const QString &text) { page->txtHost->setText(text); } },
            { "user", [page](const QString &text) { page->txtUser->setText(text); } },
            { "pw", [page](const QString &text) { page->txtpassword->setText(text); } },
            { "port", [page](const QString &text) { page->txtport->setText(text); } },
            { "db", [page](const QString &text) { page->set_database_name(text); } },
            { "table", [page](const QString &text) { page->set_table_name(text); } } });
    // A saved connection that had failed: the names are typed, as then.
    const auto saved = [&section](const char *key) {
        return section.Contains(QLatin1String(key))
            && ProjectFormat::value_of<bool>(section.Item(QLatin1String(key))).value_or(false);
    };
    if (saved("isConnect") && !saved("SuccessfullyConnected")) {
        for (QWidget *widget : QWidgetList { page->cmbDB, page->cmbtable, page->Label3, page->Label4 })
            widget->setEnabled(true);
    }
}

void frmStep2::cmdNext_Click()
{
    if (lstfields->currentItem())
        lstfields_ItemClick();
    if (!m_saved_settings_loaded)
        load_saved_settings();
    if (!chk_validation_settings())
        return;
    WizardFrame::instance().go_next(*this);
}

void frmStep2::cmdBack_Click()
{
    // Back shows the first page before this one goes; nothing is checked.
    WizardFrame::instance().move(*this, WizardPage::frmStep1);
}
