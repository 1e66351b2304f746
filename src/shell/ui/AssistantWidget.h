// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "core/Assistant.h"

#include <QLabel>
#include <QPixmap>
#include <QPointer>
#include <QWidget>

class QTextToSpeech;

namespace kestrel {

/// The assistant on screen: a frameless, always-on-top character with a speech balloon. It
/// reads its text aloud with the built-in voice when the workstation has a sound device, and
/// only shows the balloon otherwise.
class AssistantWidget : public QWidget, public Assistant
{
    Q_OBJECT

public:
    explicit AssistantWidget(QWidget *parent = nullptr);
    ~AssistantWidget() override;

    bool load(const QString &file) override;
    QSize size() const override;
    void moveTo(int left, int top) override;
    void show() override;
    void hide() override;
    void speak(const QString &text) override;
    void unload() override;
    bool isLoaded() const override { return !m_picture.isNull(); }

    /// The text of the balloon (empty when it is hidden).
    QString balloonText() const;

Q_SIGNALS:
    /// The user clicked the character.
    void clicked();

protected:
    void mousePressEvent(QMouseEvent *event) override;

private:
    void buildUi();

    QPixmap m_picture;
    QLabel *m_character = nullptr;
    QLabel *m_balloon = nullptr;
    QTextToSpeech *m_voice = nullptr;
};

} // namespace kestrel
