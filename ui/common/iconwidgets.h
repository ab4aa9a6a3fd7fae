// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QIcon>

// The tool bar's pictures, drawn by the program itself so that no image files are needed.
enum class ToolIcon { New, Open, Save, Read, Port, Write, ChannelEdit, Options, RadioInfo, Alignment };
QIcon toolIcon(ToolIcon which);
