#pragma once

#include "PageOrder.h"

#include <QColor>
#include <QHash>
#include <QSet>
#include <QWidget>

class QLabel;

// What every page window of the wizard shares: its place in the page order,
// its help topic, the exit question on Cancel and on the close box, and the
// hint line that explains the control under the pointer or at the keyboard.
class WizardWindow : public QWidget
{
    Q_OBJECT

public:
    WizardWindow(WizardPage page, int help_context, QWidget *parent = nullptr);

    WizardPage page() const { return m_page; }
    int help_context() const { return m_help_context; }

    // Colours of the hint line: the explained control, and the rest.
    static const QColor kHintColor;
    static const QColor kRestColor;

    // The size every page opens at the first time: each page fits in it.
    static QSize default_size();

    // Opens where `from` is, at its size, and maximised when it is, so that
    // moving between pages leaves the window (and its buttons) in place.
    void take_place_of(const QWidget &from);

    // A form was taken on the first page: pages that list its fields fill
    // their lists (`from_project`: a project was opened at start).
    virtual void fill_field_lists(bool from_project) { Q_UNUSED(from_project); }

    // Whether leaving through Cancel asks to save the project.
    virtual bool asks_to_save() const;

    // Whether the page has been shown in this run: until then its boxes
    // hold only what its own load or a reopened project put there.
    bool was_shown() const { return m_was_shown; }

public slots:
    // The Cancel button and the close box.
    virtual void cancel();
    // The Help button: the page's topic.
    void show_help();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

    // What shows a control's hint besides the pointer moving over it, as a
    // page's hint table lists the events.
    enum HintTrigger {
        Pointer = 1, // MouseMove over the control
        Focus = 2, // GotFocus
        AnyKey = 4, // KeyDown
        TypedKey = 8, // KeyPress: a key that types a character
        FocusResets = 16, // getting the focus hides the hint instead
    };

    // How the page gives its hint label room.
    enum class HintRoom {
        // The label sits in the page's layout: its height is that of the
        // longest sentence, kept while it is hidden, so showing a hint moves
        // nothing.
        Reserved,
        // The page places the label itself and sizes it for each hint.
        Placed,
    };

    // The label that shows the hint sentences (hidden at rest); `width` is
    // the narrowest it is ever laid out.
    void set_hint_label(QLabel *label, int width, HintRoom room = HintRoom::Reserved);
    // `sentence` explains `control` on `triggers`, colouring `highlighted`
    // (the control itself or its caption label; none when null). `height`
    // (in twips) sizes a placed hint label; a sentence never gets less than
    // it needs.
    void add_hint(
        QWidget *control, const QString &sentence, QWidget *highlighted, int triggers = Pointer, int height = 0);
    // Room for a sentence that show_hint will show (one chosen at the time).
    void reserve_hint_room(const QString &sentence);
    // Moving over `area` counts as moving over the page background.
    void add_hint_background(QWidget *area);
    // Shows the hint of `control` (its changes and clicks call this).
    void show_hint_of(QObject *control);
    // Shows a sentence that no one control owns.
    void show_hint(const QString &sentence, QWidget *highlighted = nullptr, int height = 0);
    // Hides the hint and gives every highlighted control its rest colour.
    virtual void reset_hint();
    // After a hint has shown for `control` (pages that place the label).
    virtual void hint_shown(QObject *control) { Q_UNUSED(control); }

    // The height (pixels) the hint label needs for `sentence`.
    int hint_height(const QString &sentence) const;

    static void set_text_color(QWidget *widget, const QColor &color);

private:
    struct Hint
    {
        QString sentence;
        QWidget *highlighted;
        int triggers;
        int height;
    };

    WizardPage m_page;
    int m_help_context;
    bool m_was_shown = false;
    QLabel *m_hint_label = nullptr;
    int m_hint_width = 0;
    HintRoom m_hint_room = HintRoom::Reserved;
    qsizetype m_longest_hint = 0;
    QHash<QObject *, Hint> m_hints;
    QList<QWidget *> m_highlighted;
    QSet<QWidget *> m_backgrounds;
};
