// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "Terminal.h"

#include <cstdio>
#include <string>

#include <termios.h>
#include <unistd.h>

namespace kestrel::admin {

bool inputIsTerminal()
{
    return isatty(STDIN_FILENO) == 1;
}

std::optional<QString> readSecret(const QString &prompt)
{
    const bool terminal = inputIsTerminal();
    termios saved{};
    if (terminal) {
        std::fputs(prompt.toLocal8Bit().constData(), stderr);
        std::fflush(stderr);
        tcgetattr(STDIN_FILENO, &saved);
        termios quiet = saved;
        quiet.c_lflag &= ~tcflag_t(ECHO);
        tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet);
    }
    std::string line;
    bool got = false;
    for (int c = std::getchar(); c != EOF; c = std::getchar()) {
        got = true;
        if (c == '\n')
            break;
        line.push_back(char(c));
    }
    if (terminal) {
        tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved);
        std::fputs("\n", stderr);
    }
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    QString secret = QString::fromUtf8(line.data(), qsizetype(line.size()));
    std::fill(line.begin(), line.end(), '\0');
    if (!got)
        return std::nullopt;
    return secret;
}

} // namespace kestrel::admin
