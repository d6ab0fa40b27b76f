#include "recordingmessageboxes.h"

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

bool RecordingMessageBoxes::ask(QWidget* /*parent*/, MessageKind kind, const QString& text) {
    m_shown.append({kind, messageTitle(kind), text, MessageButtons::YesNo});
    if (m_answers.empty()) {
        ++m_unanswered;
        return false;
    }
    const bool answer = m_answers.front();
    m_answers.pop_front();
    return answer;
}

void RecordingMessageBoxes::tell(QWidget* /*parent*/, MessageKind kind, const QString& text) {
    m_shown.append({kind, messageTitle(kind), text, MessageButtons::Ok});
}

}  // namespace quillon
