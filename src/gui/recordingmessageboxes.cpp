#include "recordingmessageboxes.h"

#include <QStringList>

namespace quillon {

QStringList RecordingMessageBoxes::texts() const {
    QStringList result;
    result.reserve(m_shown.size());
    for (const ShownMessage& message : m_shown) result.append(message.text);
    return result;
}

void RecordingMessageBoxes::clear() {
    m_shown.clear();
    m_answers.clear();
    m_unanswered = 0;
}

bool RecordingMessageBoxes::question(QWidget* /*parent*/, const QString& text) {
    m_shown.append({MessageKind::Question, messageTitle(MessageKind::Question), text});
    if (m_answers.empty()) {
        ++m_unanswered;
        return false;
    }
    const bool answer = m_answers.front();
    m_answers.pop_front();
    return answer;
}

void RecordingMessageBoxes::show(QWidget* parent, MessageKind kind, const QString& text) {
    if (kind == MessageKind::Question) {
        question(parent, text);
        return;
    }
    m_shown.append({kind, messageTitle(kind), text});
}

}  // namespace quillon
