#include "aboutbox.h"

#include <QEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>

#include "icons.h"

namespace quillon {

namespace {

QString withoutScheme(const QString& url) {
    const qsizetype at = url.indexOf(QLatin1StringView("://"));
    return at < 0 ? url : url.mid(at + 3);
}

}  // namespace

TAboutBox::TAboutBox(QWidget* parent, UrlOpener opener) : QDialog(parent), m_opener(std::move(opener)) {
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(QStringLiteral("About"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFixedSize(298, 195);
    // The box is laid out for a small 8 point font; the desktop's larger default would make the lines
    // overlap.
    QFont boxFont = font();
    boxFont.setPointSize(8);
    setFont(boxFont);

    // Raised inside, lowered outside: a panel that stands out of a sunken groove.
    m_panel = new QFrame(this);
    m_panel->setObjectName(QStringLiteral("Panel1"));
    m_panel->setGeometry(8, 8, 281, 145);
    m_panel->setFrameShape(QFrame::Panel);
    m_panel->setFrameShadow(QFrame::Sunken);
    auto* inner = new QFrame(m_panel);
    inner->setGeometry(1, 1, 279, 143);
    inner->setFrameShape(QFrame::Panel);
    inner->setFrameShadow(QFrame::Raised);

    auto* image = makeLabel(QStringLiteral("Image1"), QString(), 10, 10);
    image->setPixmap(applicationIcon().pixmap(32, 32));
    image->setFixedSize(32, 32);

    auto* name = makeLabel(QStringLiteral("Label5"), QStringLiteral("Quillon"), 86, 8);
    QFont nameFont(QStringLiteral("Courier New"), 14, QFont::Bold);
    nameFont.setStyleHint(QFont::TypeWriter);
    name->setFont(nameFont);
    setTextColor(name, QColor(0, 0, 128));
    name->adjustSize();

    makeLabel(QStringLiteral("Version"), QStringLiteral("Version: 1.5"), 112, 32);
    makeLabel(QStringLiteral("Author"), QStringLiteral("\u00A9 2026 The Quillon authors"), 64, 48);
    makeLabel(QStringLiteral("Freeware"), QStringLiteral("Quillon is freeware: use it and pass it on."), 20,
              72);

    QLabel* homepageCaption = makeLabel(QStringLiteral("Label6"), QStringLiteral("Homepage: "), 16, 104);
    m_homepage = makeLabel(QStringLiteral("Homepage"), withoutScheme(kHomepageUrl), 72, 104);
    QLabel* emailCaption =
        makeLabel(QStringLiteral("Label3"), QStringLiteral("Contact me via e-mail:"), 26, 120);
    m_email = makeLabel(QStringLiteral("email"), kContactAddress, 136, 120);
    placeAfter(homepageCaption, m_homepage);
    placeAfter(emailCaption, m_email);
    for (QLabel* link : {m_homepage, m_email}) {
        setTextColor(link, linkColor());
        link->setCursor(Qt::PointingHandCursor);
        link->installEventFilter(this);
    }

    m_okButton = new QPushButton(QStringLiteral("OK"), this);
    m_okButton->setObjectName(QStringLiteral("OKButton"));
    m_okButton->setGeometry(111, 164, 75, 25);
    m_okButton->setDefault(true);
    connect(m_okButton, &QPushButton::clicked, this, &QDialog::accept);
}

void TAboutBox::execute(QWidget* parent, UrlOpener opener) {
    TAboutBox box(parent, std::move(opener));
    box.exec();
}

QColor TAboutBox::linkColor() {
    return {0, 0, 255};
}

QColor TAboutBox::visitedLinkColor() {
    return {128, 0, 128};
}

QLabel* TAboutBox::makeLabel(const QString& name, const QString& text, int x, int y) {
    auto* label = new QLabel(text, m_panel);
    label->setObjectName(name);
    label->move(x, y);
    label->adjustSize();
    return label;
}

void TAboutBox::placeAfter(QLabel* caption, QLabel* link) const {
    // Each link follows its caption on the same line, wherever the caption's width in the desktop's font
    // ends; a pair too wide for the panel moves left as far as needed.
    constexpr int kMargin = 4;
    const int gap = caption->text().endsWith(u' ') ? 0 : 3;
    const int width = caption->width() + gap + link->width();
    const int left = qMax(kMargin, qMin(caption->x(), m_panel->width() - kMargin - width));
    caption->move(left, caption->y());
    link->move(left + caption->width() + gap, caption->y());
}

void TAboutBox::setTextColor(QLabel* label, const QColor& color) {
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, color);
    label->setPalette(palette);
}

void TAboutBox::maillinkClick() {
    setTextColor(m_email, visitedLinkColor());
    m_opener(mailLinkUrl(m_email->text()));
}

void TAboutBox::HomepageClick() {
    setTextColor(m_homepage, visitedLinkColor());
    m_opener(QUrl(kHomepageUrl));
}

void TAboutBox::HomepageMouseEnter(QLabel* sender) {
    QFont font = sender->font();
    font.setUnderline(true);
    sender->setFont(font);
}

void TAboutBox::HomepageMouseLeave(QLabel* sender) {
    QFont font = sender->font();
    font.setUnderline(false);
    sender->setFont(font);
}

bool TAboutBox::eventFilter(QObject* watched, QEvent* event) {
    auto* label = qobject_cast<QLabel*>(watched);
    if (label && (label == m_homepage || label == m_email)) {
        switch (event->type()) {
            case QEvent::Enter:
                HomepageMouseEnter(label);
                break;
            case QEvent::Leave:
                HomepageMouseLeave(label);
                break;
            case QEvent::MouseButtonRelease:
                // A click is a release over the label, as with a button.
                if (const auto* mouse = static_cast<QMouseEvent*>(event);
                    mouse->button() == Qt::LeftButton &&
                    label->rect().contains(mouse->position().toPoint())) {
                    if (label == m_email)
                        maillinkClick();
                    else
                        HomepageClick();
                    return true;
                }
                break;
            default:
                break;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TAboutBox::showEvent(QShowEvent* event) {
    // Centred on the screen, not over the main window.
    if (!m_placed) {
        m_placed = true;
        QScreen* screen = parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen();
        if (screen) move(screen->availableGeometry().center() - rect().center());
    }
    QDialog::showEvent(event);
}

}  // namespace quillon
