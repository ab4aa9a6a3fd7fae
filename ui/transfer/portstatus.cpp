// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/transfer/portstatus.h"
#include "core/base/language.h"
#include "core/base/messages.h"
#include "core/codeplug/session.h"

QString portStateText(const Language& lang, PortDirectory::State state) {
    switch (state) {
    case PortDirectory::State::Missing:
        return lang.text(Str::PortStateMissing);
    case PortDirectory::State::InUse:
        return lang.text(Str::PortStateInUse);
    case PortDirectory::State::NoPermission:
        return lang.text(Str::PortStateNoPermission);
    case PortDirectory::State::NotSerial:
        return lang.text(Str::PortStateNotSerial);
    case PortDirectory::State::Free:
        return lang.text(Str::PortStateFree);
    }
    return {};
}

std::optional<QString> portOpenProblem(const Session& s, int com) {
    const PortDirectory directory(s.files.settingsToRead());
    const PortDirectory::State state = directory.state(com);
    if (state == PortDirectory::State::Free) return std::nullopt;
    const QString device = directory.device(com);
    QString text = s.lang.text(Str::PortOpenFailedDevice)
                       .arg(QString::number(com), device.isEmpty() ? s.lang.text(Str::PortNoDevice) : device,
                            portStateText(s.lang, state));
    if (state == PortDirectory::State::NoPermission)
        text += QLatin1Char('\n') + s.lang.text(Str::PortPermissionHint);
    const QString general = s.lang.messages.portOpenFailed;
    return general.isEmpty() ? text : general + QLatin1Char('\n') + text;
}
