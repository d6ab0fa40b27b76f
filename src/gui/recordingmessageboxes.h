#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <deque>

#include "messageboxes.h"

namespace quillon {

// One box as a recorder saw it.
struct ShownMessage {
    MessageKind kind = MessageKind::Information;
    QString title;
    QString text;
    MessageButtons buttons = MessageButtons::Ok;

    friend bool operator==(const ShownMessage&, const ShownMessage&) = default;
};

// A stand-in for the message boxes in tests: shows nothing, logs every box and answers questions from a
// queue.
class RecordingMessageBoxes final : public MessageBoxes {
public:
    // The answer to the next question not yet answered: true for "&Yes".
    void queueAnswer(bool yes) { m_answers.push_back(yes); }
    // Questions asked with no answer queued; they were answered "&No". A test that expects every question to
    // be planned checks this is 0.
    int unansweredQuestions() const { return m_unanswered; }
    int queuedAnswers() const { return static_cast<int>(m_answers.size()); }

    // Every box in the order shown.
    const QList<ShownMessage>& shown() const { return m_shown; }
    // Texts only, in the order shown: what a test compares most often.
    QStringList texts() const;
    void clear();

    bool ask(QWidget* parent, MessageKind kind, const QString& text) override;
    void tell(QWidget* parent, MessageKind kind, const QString& text) override;

private:
    QList<ShownMessage> m_shown;
    std::deque<bool> m_answers;
    int m_unanswered = 0;
};

}  // namespace quillon
