// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>
#include <span>
class Language;

// The factory alignment values of the radio, each held as the text of its edit field and
// converted only when a block is sent or received. Fields are known by the number of their edit
// field; the caption is the label the technician sees beside it.

// How a field's text becomes its byte(s).
enum class AlignForm {
    Decimal, // "0"-"255" (or up to `maximum`), one byte
    Hex,     // two hex digits, sent as they stand
    Signed,  // -128 to 127, sent as value + 128 (the window's spinner stops at -127)
    Millis,  // 50 to 500 milliseconds, sent in tens (cut)
    Hex8,    // eight hex digits (four bytes), sent as they stand
};

// Where a field lives in the radio: a 16-byte alignment block, the band limits (0x0158), the
// difference frequencies (0x01D0), or only the alignment file (address 0).
struct AlignField {
    int number;
    const char* caption;
    AlignForm form;
    const char* defaultText;
    int address = 0;
    int byte = 0; // first byte inside the block at `address`
    int maximum = 255;
};

// Every field: those of the alignment file in its order, then 3, 4 and 5.
std::span<const AlignField> alignFields();
// The field with this number; null for a number no field has (217, 303, 304, 406 ...).
const AlignField* alignField(int number);
// The caption with the field number, as messages name a field: "频偏 (405)".
QString alignFieldName(const AlignField& field);

// Why a text does not fit its field's byte(s).
enum class AlignReason { None, Decimal255, Decimal127, Signed, Millis, Hex2, Hex8 };
AlignReason alignTextProblem(const AlignField& field, const QString& text);

// The menu texts of the radio: three tables that the alignment write sends on request.
struct MenuTables {
    static constexpr int DisplayCount = 24;
    static constexpr int FixedDisplayCount = 3; // entries 0-2 are fixed hex texts
    static constexpr int EntryCount = 51;
    static constexpr int OptionCount = 113;
    static constexpr int EntryNameBytes = 8;
    static constexpr int DisplayBytes = 8;
    static constexpr int OptionBytes = 4;
    static constexpr int SquelchEntry = 17; // the entry "调整SQL" writes alone

    QStringList display; // 24 lines; lines 0-2 name the fixed entries
    QStringList names;   // 51 menu entry names
    QStringList options; // 113 option words
    QStringList second;  // 51 second halves of the menu entries from "cai.ini" (16 hex digits)

    MenuTables();
    // Section "list", keys "ca0" to "ca50"; a missing key (or file) gives an empty text.
    void loadSecondHalves(const QString& caiIniPath);
    // "cai.ini" from the first of `dirs` that holds it (beside the program, then the shared
    // folder of an installed copy); empty when none does.
    static QString findCaiIni(const QStringList& dirs);
    static QStringList fixedDisplayHex(); // the hex texts of display entries 0-2
};

// The alignment state of the whole run: every field, the power class, the menu tables and the
// two check boxes of the alignment window that other procedures read.
class AlignmentData {
public:
    AlignmentData();

    QString text(int field) const { return m_texts.value(field); }
    void setText(int field, const QString& text); // numbers without a field are ignored
    QString powerClass = QStringLiteral("10W");   // "10W" or "25W"
    bool writeMenus = false;                      // "写入菜单"
    bool writeFactoryDate = false;                // "写入出厂日期"
    MenuTables menus;

    // Every field and the power class back to their defaults.
    void reset();
    // The fields sent to the radio whose text does not fit, in table order.
    struct Problem {
        const AlignField* field;
        AlignReason reason;
        QString text;
    };
    QList<Problem> problems() const;

private:
    QHash<int, QString> m_texts;
};

// The alignment file (*.m17): "PR-300", the power class ("10W" or "25W"), the texts of fields
// 201-221, 301-313 and 401-423 (numbers without a field hold "0"), two empty lines; CR LF.
QByteArray saveAlignmentFile(const AlignmentData& data);
// Opening: the first line is not checked, the second sets the power class when it names one
// (older files leave it empty, and the power class as it was); the next 57 go to the fields in
// order. A file that ends early or holds a value line that is not of its field's form changes
// nothing.
struct AlignFileProblem {
    int line = 0;  // 1-based
    int field = 0; // 0 when the file ends before the line
    QString text;  // the line as read
};
std::optional<AlignFileProblem> openAlignmentFile(AlignmentData& data, const QByteArray& bytes);
// The field numbers of the 57 value lines, in order (0 where a number has no field).
QList<int> alignFileNumbers();

// The file edges: nothing on success, otherwise a message for the user in `lang` (the file's
// problem by its line, or the system's reason). A refused file changes no field.
std::optional<QString> readAlignmentFileAt(AlignmentData& data, const QString& path, const Language& lang);
std::optional<QString> writeAlignmentFileAt(const AlignmentData& data, const QString& path,
                                            const Language& lang);
