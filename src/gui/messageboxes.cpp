#include "messageboxes.h"

namespace quillon {

QString messageTitle(MessageKind kind) {
    switch (kind) {
        case MessageKind::Question:
            return QStringLiteral("Confirm");
        case MessageKind::Warning:
            return QStringLiteral("Warning");
        case MessageKind::Error:
            return QStringLiteral("Error");
        case MessageKind::Information:
            return QStringLiteral("Information");
        case MessageKind::StandardError:
            return QStringLiteral("Quillon");
    }
    return {};
}

}  // namespace quillon
