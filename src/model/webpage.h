#pragma once

#include "Collection.h"
#include "Forms.h"
#include "HtmlDocument.h"

#include <QObject>
#include <QString>

#include <chrono>
#include <functional>
#include <memory>

// The loaded HTML page and the forms read from it.
class webpage final : public QObject
{
    Q_OBJECT

public:
    // Shows a text with a button set (1: OK) and an icon (3: information)
    // and returns the button pressed, as the program's message box does.
    using MessageFunction = std::function<int(const QString &text, qint32 buttons, qint32 icon)>;

    qint32 pagetype = 0; // 0: the local file `path`; otherwise `URL`
    QString URL;
    QString path;
    std::shared_ptr<CForm> selected_form;
    qint16 nforms = 0;
    std::shared_ptr<Forms> forms;

    // How long a web server may stay silent before loading gives up.
    std::chrono::milliseconds load_timeout = std::chrono::seconds(30);
    // Larger pages are refused: no form page comes near it, and the parser
    // needs many times a page's size in memory.
    qint64 max_page_size = qint64(16) << 20;
    // Bounds for the parser on pathological markup.
    HtmlDocument::Limits parse_limits;

    // Banned visitor addresses in the order entered; created on first read.
    const std::shared_ptr<StringCollection> &blocked_ips();

    // Reads the page named by `pagetype` into `forms` and `nforms`, one
    // field per form element that can post a value (no fieldset or
    // output), and raises FinishReading. The event loop runs
    // while the page loads and is parsed; a call made meanwhile does
    // nothing. A page that cannot be loaded is reported through the message
    // function and raises LoadFailed instead.
    void ReadForms();
    bool is_reading() const { return m_reading; }

    // Where the reader's messages go; the program connects its message box.
    static void set_message_function(MessageFunction function);

signals:
    void FinishReading();
    // The page could not be loaded; a wait window shown for it should go.
    void LoadFailed();

private:
    std::shared_ptr<StringCollection> m_blocked_ips;
    bool m_reading = false;
};
