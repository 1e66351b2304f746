// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "shell/ui/AssistantWidget.h"

#include <QAudioDevice>
#include <QMediaDevices>
#include <QMouseEvent>
#include <QTextToSpeech>
#include <QTimer>
#include <QVBoxLayout>

namespace kestrel {

namespace {
constexpr int kBalloonWidth = 220;
constexpr int kBalloonSeconds = 12;
} // namespace

AssistantWidget::AssistantWidget(QWidget *parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("Agent1"));
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_ShowWithoutActivating);
    buildUi();
}

AssistantWidget::~AssistantWidget() = default;

void AssistantWidget::buildUi()
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);
    m_balloon = new QLabel(this);
    m_balloon->setObjectName(QStringLiteral("balloon"));
    m_balloon->setWordWrap(true);
    m_balloon->setFixedWidth(kBalloonWidth);
    m_balloon->setStyleSheet(
        QStringLiteral("QLabel { background: #fffbe6; color: #222; border: 1px solid #8a7a3a; "
                       "border-radius: 8px; padding: 6px; }"));
    m_balloon->hide();
    m_character = new QLabel(this);
    m_character->setObjectName(QStringLiteral("character"));
    m_character->setAlignment(Qt::AlignRight | Qt::AlignBottom);
    layout->addWidget(m_balloon, 0, Qt::AlignRight);
    layout->addWidget(m_character, 0, Qt::AlignRight);
}

bool AssistantWidget::load(const QString &file)
{
    QPixmap picture;
    if (!picture.load(file, "PNG"))
        return false;
    m_picture = picture;
    m_character->setPixmap(m_picture);
    adjustSize();
    return true;
}

QSize AssistantWidget::size() const
{
    return m_picture.isNull() ? QSize() : m_picture.size();
}

void AssistantWidget::moveTo(int left, int top)
{
    // The balloon grows upwards; the character's own corner is what is placed.
    QWidget::move(left - (width() - m_character->width()),
                  top - (height() - m_character->height()));
}

void AssistantWidget::show()
{
    if (isLoaded())
        QWidget::show();
}

void AssistantWidget::hide()
{
    m_balloon->hide();
    QWidget::hide();
}

void AssistantWidget::speak(const QString &text)
{
    const QPoint bottomRight = geometry().bottomRight();
    m_balloon->setText(text);
    m_balloon->show();
    adjustSize();
    QWidget::move(bottomRight.x() - width() + 1, bottomRight.y() - height() + 1);
    QTimer::singleShot(kBalloonSeconds * 1000, m_balloon, &QLabel::hide);

    // Speech only where there is something to hear it through.
    if (QMediaDevices::audioOutputs().isEmpty())
        return;
    if (!m_voice)
        m_voice = new QTextToSpeech(QStringLiteral("flite"), this);
    if (m_voice->state() != QTextToSpeech::Error)
        m_voice->say(text);
}

void AssistantWidget::unload()
{
    if (m_voice)
        m_voice->stop();
    hide();
    m_picture = QPixmap();
    m_character->clear();
}

QString AssistantWidget::balloonText() const
{
    return m_balloon->isVisible() ? m_balloon->text() : QString();
}

void AssistantWidget::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        Q_EMIT clicked();
    QWidget::mousePressEvent(event);
}

} // namespace kestrel
