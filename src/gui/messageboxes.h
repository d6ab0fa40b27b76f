#pragma once

#include <QString>

class QWidget;

namespace quillon {

// The kinds of message the program shows. A kind fixes the box's title and icon; asking gives it "&Yes" and
// "&No", telling an "OK" button.
enum class MessageKind {
    Question,     // "Confirm", question icon
    Warning,      // "Warning", warning icon
    Error,        // "Error", critical icon
    Information,  // "Information", information icon
    // The box for an operation abandoned as a whole ("Cannot open file %s", an invalid search mask): titled
    // with the application's title like the toolkit's own error box, critical icon.
    StandardError,
};

// The title of a box of the given kind.
QString messageTitle(MessageKind kind);

// The buttons of a box: an answer to a question, or a plain acknowledgement.
enum class MessageButtons {
    Ok,     // "OK"
    YesNo,  // "&Yes" and "&No"
};

// The one way the program talks to the user in a modal box, so tests can replace every box with a recorder.
// Parent may be null; a box then centres on the screen.
class MessageBoxes {
public:
    MessageBoxes() = default;
    virtual ~MessageBoxes() = default;
    MessageBoxes(const MessageBoxes&) = delete;
    MessageBoxes& operator=(const MessageBoxes&) = delete;

    // A box with the kind's title and icon and "&Yes" and "&No". True when the user answers "&Yes"; "&No",
    // Escape and closing the box answer no.
    virtual bool ask(QWidget* parent, MessageKind kind, const QString& text) = 0;
    // A box with the kind's title and icon and an "OK" button.
    virtual void tell(QWidget* parent, MessageKind kind, const QString& text) = 0;

    // "Confirm" with the question icon.
    bool question(QWidget* parent, const QString& text) { return ask(parent, MessageKind::Question, text); }
    // "Warning" with the warning icon, for questions about losing data (replacing a volume of the same name).
    bool warningQuestion(QWidget* parent, const QString& text) {
        return ask(parent, MessageKind::Warning, text);
    }

    void warning(QWidget* parent, const QString& text) { tell(parent, MessageKind::Warning, text); }
    void error(QWidget* parent, const QString& text) { tell(parent, MessageKind::Error, text); }
    void information(QWidget* parent, const QString& text) { tell(parent, MessageKind::Information, text); }
    void standardError(QWidget* parent, const QString& text) {
        tell(parent, MessageKind::StandardError, text);
    }
};

}  // namespace quillon
