#pragma once

#include "CommonDialog.h"
#include "WizardWindow.h"

#include "generate/Html_converter.h"
#include "model/Collection.h"

#include <QStringList>

#include <memory>

class Field;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QTextEdit;
class gxButtons_H;

// Page 2: one validation rule per field of the chosen form. Every change in
// the editor is written at once into the Field of the selected list item;
// only the permitted file types of an upload are written when the user
// leaves the field (or presses Next).
class frmStep2 final : public WizardWindow
{
    Q_OBJECT

public:
    explicit frmStep2(QWidget *parent = nullptr);

    // The pictures of the field list: a field with a rule, and one set to
    // "Don't validate". Items carry the number in kSmallIconRole (0: none).
    static constexpr int kRuleIcon = 2;
    static constexpr int kNoRuleIcon = 4;
    static constexpr int kSmallIconRole = Qt::UserRole + 1;

    // The file that lists the MIME types offered for uploads; empty means
    // types.txt in the program's folder.
    static QString &types_file();
    // The entries of a types file: one per line, a comma also separates,
    // empty entries and types whose files the script refuses skipped (each
    // of those, with why, in `refused` when given). A file that cannot be
    // read gives none and `error` (when given) says why.
    static QStringList read_types(const QString &path, QString *error = nullptr, QStringList *refused = nullptr);

    void fill_field_lists(bool from_project) override;

    // Shows the rule of the field keyed `name`.
    void load_setting(const QString &name);
    // Checks every field's rule before the page is left; false after the
    // first problem has been reported and its field selected.
    bool chk_validation_settings();

    // The error alert's font and colour (0x00BBGGRR), used for every
    // field's alert; a reopened project sets them back.
    const FontSpec &alert_font() const { return m_font; }
    qint32 alert_color() const { return m_color; }
    void set_alert_font(const FontSpec &font, qint32 color);

    // Fills the mail, auto-responder, CSV and MySQL pages from a project
    // opened at start, once per run, on the first Next (the sections whose
    // action is chosen at that moment).
    void load_saved_settings();
    void loadEmails(const StringCollection &section);
    void loadAutoResponde(const StringCollection &section, const StringCollection &lines);
    void load_csv(const StringCollection &section);
    void load_MySQL(const StringCollection &section);

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // The field of the selected list item; null while none, or while the
    // item is a field without a name.
    std::shared_ptr<Field> current_field() const;
    QString selected_text() const;

    void activated();
    void lstfields_ItemClick();
    void prepare_lstfields(int position, const QString &name);
    void select_row(int row);

    // Shows no field: the list now holds another form's fields.
    void clear_editor();
    void hide_all();
    void get_validationRule();
    void get_selected_operator();
    void load_operator_text(qint32 first, qint32 second);
    void set_one_box(bool one_box);
    void load_values(const QString &list);
    void get_values();
    void load_lstFiles(Field &field);
    void save_fields(Field &field);
    void set_small_icon(int row, int picture);

    void cmbvalidation_Click();
    void cmboperation_Click();
    void cmbfields_Click();
    void chknull_Click();
    void txtmin_Change();
    void txtmax_Change();
    void cmdAdd_MouseDown();
    void cmdRemove_Click();
    void txtsize_Change();
    void txtdestination_Change();
    void txturl_Change();
    void main_Change();
    void apply_alert_font();
    void Browse_Click();
    void cmdNext_Click();
    void cmdBack_Click();

    QListWidget *lstfields;
    QLabel *lblfield;
    QLabel *Label4;
    QComboBox *cmbvalidation;
    QCheckBox *chknull;
    QLabel *Label3;
    QTextEdit *main;
    gxButtons_H *Browse;
    CommonDialog com;

    QWidget *ranges;
    QComboBox *cmboperation;
    QLabel *lblmin;
    QLineEdit *txtmin;
    QLabel *lblmax;
    QLineEdit *txtmax;

    QWidget *pcompare;
    QLabel *Label2;
    QComboBox *cmbfields;

    QWidget *values;
    QLabel *Label5;
    QLineEdit *txtValue;
    gxButtons_H *cmdAdd;
    gxButtons_H *cmdRemove;
    QListWidget *lstValues;

    QWidget *VField;
    QLineEdit *txtsize;
    QLineEdit *txtdestination;
    QLineEdit *txturl;
    QListWidget *lsttypes;
    QLabel *lblTypesMissing;

    gxButtons_H *cmdNext;
    gxButtons_H *cmdBack;
    gxButtons_H *cmdCancel;
    gxButtons_H *cmdHelp;

    // The error alert's font and colour (0x00BBGGRR): the page's, used for
    // every field's alert.
    FontSpec m_font;
    qint32 m_color = 0;

    // Row of the list item shown last; -1 before any.
    int m_last_index = -1;
    // Row current before a mouse press on the list, to tell a click on the
    // item already shown from one that moves the selection.
    int m_row_before_press = -1;
    bool m_saved_settings_loaded = false;
};
