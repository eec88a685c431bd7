#pragma once

#include "PageOrder.h"

#include <QColor>
#include <QHash>
#include <QWidget>

class QLabel;

// What every page window of the wizard shares: its place in the page order,
// its help topic, the exit question on Cancel and on the close box, and the
// hint line that explains the control under the pointer.
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

    // A form was taken on the first page: pages that list its fields fill
    // their lists (`from_project`: a project was opened at start).
    virtual void fill_field_lists(bool from_project) { Q_UNUSED(from_project); }

    // Whether leaving through Cancel asks to save the project.
    virtual bool asks_to_save() const;

public slots:
    // The Cancel button and the close box.
    virtual void cancel();
    // The Help button: the page's topic.
    void show_help();

protected:
    void closeEvent(QCloseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

    // The label that shows the hint sentences (hidden at rest).
    void set_hint_label(QLabel *label);
    // Moving over `control` shows `sentence` and colours `highlighted` (the
    // control itself or its caption label; none when null). `height` (in
    // twips) sizes the hint label when given.
    void add_hint(QWidget *control, const QString &sentence, QWidget *highlighted, int height = 0);
    // Hides the hint and gives every highlighted control its rest colour.
    void reset_hint();

    static void set_text_color(QWidget *widget, const QColor &color);

private:
    struct Hint
    {
        QString sentence;
        QWidget *highlighted;
        int height;
    };

    WizardPage m_page;
    int m_help_context;
    QLabel *m_hint_label = nullptr;
    int m_rest_hint_height = 0;
    QHash<QObject *, Hint> m_hints;
    QList<QWidget *> m_highlighted;
};
