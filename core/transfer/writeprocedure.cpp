// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/transfer/writeprocedure.h"
#include "core/base/messages.h"
#include "core/codeplug/bandcheck.h"
#include "core/codeplug/controlnames.h"
#include "core/codeplug/funcrules.h"
#include "core/codeplug/model.h"
#include "core/codeplug/problemtext.h"
#include "core/codeplug/session.h"
#include "core/codeplug/validation.h"
#include "core/link/frames.h"
#include "core/link/link.h"
#include "core/memmap/channelrecord.h"
#include "core/memmap/dtmffields.h"
#include "core/memmap/memorymap.h"
#include "core/memmap/radioblocks.h"

namespace {
constexpr int ProgressStep = 5;
constexpr int VfoRows = 3;

// Bytes of the alignment data and of the display that the radio expects after every write;
// sent as the literal frames the radio has always been given.
constexpr QStringView FixedAlignmentFrame = u"570501a42d3e33";
constexpr QStringView FixedHighFrame = u"5706076848696768";

void normaliseFmList(ControlStore& func, QChar point) {
    if (!func.has(Ctl::FmList)) return;
    for (int row = 1; row < func.rowCount(Ctl::FmList); ++row) {
        const QString text = func.cell(Ctl::FmList, 1, row);
        if (text.isEmpty()) continue;
        // A text that is no number stays as typed; the validation names it before a write.
        if (const auto normal = normaliseFmFrequency(text, point)) func.setCell(Ctl::FmList, 1, row, *normal);
    }
    if (func.rowCount(Ctl::FmList) > 1 && func.cell(Ctl::FmList, 1, 1).isEmpty())
        func.setCell(Ctl::FmList, 1, 1, QStringLiteral("87") + point + QStringLiteral("500"));
}

// A VFO row whose RX frequency lies outside the band of its band-one item starts again at the
// band's lower limit, committed like a typed frequency so the row gets its defaults.
void bringVfoRowsIntoBands(Codeplug& doc, QChar point) {
    for (Side side : {Side::A, Side::B}) {
        ChannelTable& table = doc.table(side);
        for (int row = 1; row <= VfoRows; ++row) {
            doc.currentCol = Col::RxFreq;
            doc.currentRow = row;
            const std::optional<QString> lower = vfoBandTarget(doc, side, row, point);
            if (!lower) continue;
            if (!table.cell(Col::RxFreq, row).isEmpty()) {
                table.setCell(Col::RxFreq, row, QString());
                table.sendallcell(Col::RxFreq, row, doc.words, point);
            }
            table.setCell(Col::RxFreq, row, *lower);
            table.sendallcell(Col::RxFreq, row, doc.words, point);
        }
    }
}

class Planner {
public:
    explicit Planner(Session& session) : m_session(session) {}

    void block(quint16 address, const Encoded& encoded, Tolerance tolerance = Tolerance::Strict,
               bool advances = true, std::optional<Side> side = std::nullopt) {
        if (!encoded.ok()) {
            bad(*encoded.bad, side);
            return;
        }
        m_plan.steps.append({WriteStep::Kind::Block, address, encoded.bytes, {}, tolerance, advances});
    }
    void literal(quint16 address, const QByteArray& bytes, QStringView frame) {
        m_plan.steps.append(
            {WriteStep::Kind::Literal, address, bytes, frame.toString(), Tolerance::Strict, true});
    }
    void clock() { m_plan.steps.append({WriteStep::Kind::Clock, 0, {}, {}, Tolerance::Strict, true}); }
    void password(const QString& digits) {
        if (const auto bytes = encodePassword(digits))
            m_plan.steps.append(
                {WriteStep::Kind::Block, Addr::Password, *bytes, {}, Tolerance::Strict, false});
        else
            field(Ctl::Edit20, Str::PasswordInvalid);
    }

    WritePlan plan() const { return m_plan; }

private:
    void bad(const BadField& f, std::optional<Side> side) {
        if (f.control.isEmpty() && side) {
            m_plan.problems << cellProblemText(m_session, *side, f.row, f.column, f.reason,
                                               m_session.doc.table(*side).cell(f.column, f.row));
            return;
        }
        field(f.control, f.reason, f.row);
    }
    void field(const QString& control, int reason, int gridRow = -1) {
        m_plan.problems << fieldProblemText(m_session, control, gridRow, reason, {});
    }

    Session& m_session;
    WritePlan m_plan;
};

} // namespace

WritePlan planWrite(Session& session, const TransferOptions& options, const WritePreparation& first,
                    int rows) {
    Planner plan(session);
    const Codeplug& doc = session.doc;
    const ControlStore& func = doc.func;
    if (func.checked(Ctl::CheckBox41))
        plan.block(Addr::BandTwo, encodeBandTwo(func), Tolerance::Strict, false);
    if (func.checked(Ctl::CheckBox35)) plan.password(func.text(Ctl::Edit20));
    for (int row = 1; row <= rows; ++row)
        for (Side side : {Side::B, Side::A}) {
            const ChannelTable& table = doc.table(side);
            plan.block(channelRecordAddress(side, row), encodeChannelRecord(table, row, doc.words),
                       Tolerance::Tolerant, side == Side::B, side);
            plan.block(channelNameAddress(side, row), encodeChannelName(table, row), Tolerance::Strict, false,
                       side);
        }
    plan.block(Addr::Settings1, Encoded::of(encodeSettingsBlock1(doc, first)));
    plan.block(Addr::Dates, encodeDates(func));
    if (func.checked(Ctl::CheckBox42) || options.initialise) plan.clock();
    if (func.checked(Ctl::CheckBox37)) plan.block(Addr::SquelchBase, Encoded::of(encodeSquelchBase(func)));
    plan.block(Addr::Settings2, Encoded::of(encodeSettingsBlock2(doc)));
    plan.literal(Addr::FixedAlignment, fixedAlignmentBytes(), FixedAlignmentFrame);
    plan.literal(Addr::FixedHigh, fixedHighBytes(), FixedHighFrame);
    for (int k = 0; k < FmBlockCount; ++k)
        plan.block(fmBlockAddress(k), encodeFmBlock(func, k));
    plan.block(Addr::PowerOnMessage, encodePowerOnMessage(func));
    plan.block(Addr::IdAndStartCode, encodeDtmfCodeBlock(func, Addr::IdAndStartCode));
    plan.block(Addr::PttIdCodes, encodeDtmfCodeBlock(func, Addr::PttIdCodes));
    plan.block(Addr::StunAndKillCode, encodeDtmfCodeBlock(func, Addr::StunAndKillCode));
    for (int k = 0; k < CallListBlockCount; ++k)
        plan.block(callListBlockAddress(k), encodeCallListBlock(func, k));
    return plan.plan();
}

namespace {

// The validation's errors about values the write will encode: cells of rows beyond the
// channel range are not sent and do not stop it.
QStringList validationErrors(const Session& session, int rows) {
    QStringList errors;
    for (const Problem& p : validateDocument(session)) {
        if (p.severity != Problem::Severity::Error) continue;
        if (p.place == Problem::Place::Cell && p.row > rows) continue;
        errors << p.message;
    }
    return errors;
}

QDateTime nowOf(const TransferOptions& options) {
    return options.now ? options.now() : QDateTime::currentDateTime();
}
} // namespace

WritePreparation formShow(Session& session, TransferMode mode) {
    const QChar point = systemDecimalPoint();
    normaliseFmList(session.doc.func, point);
    if (mode != TransferMode::Write) return {};
    bringVfoRowsIntoBands(session.doc, point);
    return firstNumbers(session.doc, point);
}

std::optional<TransferResult> writeRefusal(Session& session, const TransferOptions& options,
                                           const WritePreparation& preparation) {
    TransferResult result;
    result.mode = TransferMode::Write;
    const std::optional<int> rows = transferRows(options.channelRange, options.debugRows);
    if (!rows) {
        result.outcome = TransferResult::Outcome::ChannelRangeInvalid;
        return result;
    }
    // Nothing that the radio cannot take is ever sent, not even the handshake.
    result.problems = validationErrors(session, *rows);
    if (result.problems.isEmpty()) result.problems = planWrite(session, options, preparation, *rows).problems;
    if (result.problems.isEmpty()) return std::nullopt;
    result.outcome = TransferResult::Outcome::ValidationFailed;
    return result;
}

TransferResult writeRadio(Session& session, Link& link, const TransferOptions& options,
                          const WritePreparation& preparation) {
    if (std::optional<TransferResult> refusal = writeRefusal(session, options, preparation)) return *refusal;
    TransferResult result;
    result.mode = TransferMode::Write;
    result.afterAlignment = options.initialise;
    const int rows = *transferRows(options.channelRange, options.debugRows);
    const WritePlan plan = planWrite(session, options, preparation, rows);

    int progress = 0;
    auto advance = [&] {
        progress += ProgressStep;
        if (options.progress) options.progress(std::min(progress, ProgressMaximum));
    };
    if (options.progress) options.progress(0);
    link.resetPort();
    const bool ok = runTransferNoting(link, result, [&] {
        if (!identifyRadio(session, link, result)) return false;
        // The radio keeps who programmed it last; it is stamped again only for another name.
        const bool stamp = session.administrator != session.radioInfo.administrator;
        result.blocksToWrite = int(stamp) + int(options.writeFactoryDate) + int(plan.steps.size());
        if (stamp &&
            !link.writeBlock(Addr::ProgrammingStamp, programmingStamp(nowOf(options), session.administrator),
                             Tolerance::Strict))
            return false;
        result.blocksWritten += int(stamp);
        if (options.writeFactoryDate &&
            !link.writeBlock(Addr::FactoryStamp, factoryDateBytes(nowOf(options)), Tolerance::Strict))
            return false;
        result.blocksWritten += int(options.writeFactoryDate);
        for (const WriteStep& step : plan.steps) {
            bool sent = false;
            switch (step.kind) {
            case WriteStep::Kind::Block:
                sent = link.writeBlock(step.address, step.data, step.tolerance);
                break;
            case WriteStep::Kind::Literal:
                sent = link.writeFrame(step.literal, Tolerance::Strict);
                break;
            case WriteStep::Kind::Clock:
                sent = link.writeFrame(Frame::clockRequest(nowOf(options)), Tolerance::Strict);
                break;
            }
            if (!sent) return false;
            ++result.blocksWritten;
            if (step.advances) advance();
        }
        return true;
    });
    result.outcome = ok ? TransferResult::Outcome::Done : TransferResult::Outcome::LinkFailed;
    if (ok && options.progress) options.progress(ProgressMaximum);
    return result;
}
