// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/transfer/alignmentexchange.h"
#include "core/base/messages.h"
#include "core/codeplug/controlnames.h"
#include "core/codeplug/model.h"
#include "core/codeplug/session.h"
#include "core/link/frames.h"
#include "core/link/link.h"
#include "core/memmap/alignmentblocks.h"
#include "core/memmap/memorymap.h"
#include "core/transfer/radiosession.h"
#include <QElapsedTimer>

namespace {
constexpr int BlockMs = 150;
constexpr int WriteMs = 100;
constexpr int AckChars = 6;
constexpr int BatteryLow = 64;
constexpr int BatteryHigh = 240;
constexpr int BatteryCentre = 156;
constexpr QStringView BatteryQuery = u"5503079010";
constexpr int BatteryReplyChars = 40;
constexpr int BatteryReplyMs = 180;
constexpr QStringView IdentificationHex = u"51562D520585FF06";

// The handshake of the alignment: 3 attempts of 18 characters / 100 ms, a pause between them
// for some exchanges, and the ready query's wait.
HandshakeTiming timing(int pauseMs, int readyMs) {
    return HandshakeTiming{3, 100, pauseMs > 0 ? AckChars : 0, pauseMs, readyMs};
}

QString reasonText(AlignReason reason, const Language& lang) {
    switch (reason) {
    case AlignReason::Decimal255:
        return lang.text(Str::AlignReason255);
    case AlignReason::Decimal127:
        return lang.text(Str::AlignReason127);
    case AlignReason::Signed:
        return lang.text(Str::AlignReasonSigned);
    case AlignReason::Millis:
        return lang.text(Str::AlignReasonMillis);
    case AlignReason::Hex2:
        return lang.text(Str::AlignReasonHex2);
    case AlignReason::Hex8:
        return lang.text(Str::AlignReasonHex8);
    case AlignReason::None:
        break;
    }
    return {};
}

// One exchange: the port check and its wait, the frames, then the end frame and the closed
// port on every way out (the session's end).
class Exchange {
public:
    Exchange(Session& session, Link& link) : m_session(session), m_link(link), m_radio(link, true) {}

    AlignResult result;

    bool open(int chars, int ms) {
        m_link.closePort();
        if (!m_link.port() || !m_link.openPort()) {
            result.outcome = AlignResult::Outcome::PortUnavailable;
            return false;
        }
        m_link.aSysDelay(chars, ms);
        return true;
    }
    bool handshake(const HandshakeTiming& t) {
        QElapsedTimer took;
        took.start();
        if (m_radio.handshake(t)) return true;
        // A few attempts, not the repeat bound: a radio busy to all of them was busy that long.
        result.outcome = AlignResult::Outcome::LinkFailed;
        result.fault = linkFault(m_link);
        result.fault.seconds =
            std::min(result.fault.seconds, std::max(1, int((took.elapsed() + 999) / 1000)));
        return false;
    }
    bool write(const QString& request, int ms) {
        ++result.blocksToWrite;
        if (!m_link.writeFrame(request, Tolerance::Strict, ms, AckChars)) return false;
        ++result.blocksWritten;
        return true;
    }
    std::optional<QString> read(quint16 address) {
        const auto bytes = m_link.readBlock(address, BlockSize::Block, Tolerance::Strict, BlockMs);
        if (!bytes) return std::nullopt;
        return Frame::toHex(*bytes);
    }
    void refuse() {
        result.outcome = AlignResult::Outcome::LinkFailed;
        result.fault.kind = LinkFault::Kind::Refused;
    }
    // Planned writes that were never reached still count in "N of M".
    void plan(int writes) { m_planned = writes; }
    // The end frame (unless handed on to the transfer that follows), then the port closes.
    AlignResult finish(bool ok, int endChars, int endMs, bool endFrame = true) {
        ok = ok && m_link.confirmLastWrite();
        if (!ok && result.outcome == AlignResult::Outcome::Done) {
            result.outcome = AlignResult::Outcome::LinkFailed;
            result.fault = linkFault(m_link);
        }
        if (!ok) result.unacknowledged = m_link.unacknowledgedWrite();
        result.blocksToWrite = std::max(result.blocksToWrite, m_planned);
        // Only a finished alignment write hands the open connection on; a failed one ends it.
        if (ok && !endFrame) m_radio.handOn();
        m_radio.end(endChars, endMs);
        return result;
    }
    QString identification() const {
        const QString hex = m_session.modelIdentHex;
        return hex.size() == IdentificationHex.size() && Frame::fromHex(hex) ? hex
                                                                             : IdentificationHex.toString();
    }

private:
    Session& m_session;
    Link& m_link;
    RadioSession m_radio;
    int m_planned = 0;
};

QString identificationRequest(const QString& identHex) {
    return QStringLiteral("570a0170") + identHex;
}

// The values that would be sent, checked before the port is touched.
QStringList valueProblems(const AlignmentData& data, bool differences, const Language& lang) {
    QStringList lines;
    for (const AlignmentData::Problem& p : data.problems()) {
        if (p.field->address == AlignAddr::Differences && !differences) continue;
        lines << lang.text(Str::AlignBadValue)
                     .arg(alignFieldName(*p.field), p.text, reasonText(p.reason, lang));
    }
    return lines;
}

QStringList menuProblems(const MenuPlan& plan, const Language& lang) {
    if (plan.problems.isEmpty()) return {};
    return QStringList{lang.text(Str::AlignMenuTexts)} + plan.problems;
}
} // namespace

QString alignMessage(const AlignResult& result, const Language& lang) {
    switch (result.outcome) {
    case AlignResult::Outcome::Done:
    case AlignResult::Outcome::BatteryFail:
        return {};
    case AlignResult::Outcome::PortUnavailable:
        return lang.text(Str::AlignPortFailed);
    case AlignResult::Outcome::Refused:
        return lang.text(Str::AlignNotSent) + QStringLiteral("\n\n") + result.problems.join(QChar('\n'));
    case AlignResult::Outcome::LinkFailed: {
        // The message box shows the first line indented, as the radio software always has.
        QString text = QStringLiteral("        ") + lang.text(Str::AlignLinkFailed);
        const QString reason = faultReason(result.fault, lang);
        if (!reason.isEmpty()) text += QChar('\n') + reason;
        if (result.blocksToWrite > 0)
            text += QChar('\n') +
                    reachText(result.blocksWritten, result.blocksToWrite, result.unacknowledged, lang);
        return text;
    }
    }
    return {};
}

AlignResult readAlignment(Session& session, Link& link) {
    Exchange x(session, link);
    if (!x.open(12, 800)) return x.result;
    bool ok = x.handshake(timing(100, 100));
    if (ok) {
        const auto ident = x.read(AlignAddr::Identification);
        ok = ident.has_value();
        if (ok && !identificationMatches(*Frame::fromHex(*ident))) {
            x.refuse();
            ok = false;
        }
    }
    if (ok) {
        ControlStore& main = session.doc.main;
        if (main.has(MainCtl::Model) && !main.items(MainCtl::Model).isEmpty()) {
            main.setIndex(MainCtl::Model, 0);
            x.result.caption = changeModel(session);
        }
    }
    for (const quint16 address : {AlignAddr::Power, AlignAddr::Levels, AlignAddr::Timings}) {
        if (!ok) break;
        const auto block = x.read(address);
        ok = block.has_value();
        if (ok) decodeAlignBlock(session.alignment, address, *block);
    }
    return x.finish(ok, 0, 0);
}

AlignResult writeAlignment(Session& session, Link& link, bool menus, bool endFrame) {
    Exchange x(session, link);
    const AlignmentData& data = session.alignment;
    MenuPlan plan;
    if (menus) plan = planMenuTables(data.menus);
    x.result.problems = valueProblems(data, menus, session.lang) + menuProblems(plan, session.lang);
    if (!x.result.problems.isEmpty()) {
        x.result.outcome = AlignResult::Outcome::Refused;
        return x.result;
    }
    if (!x.open(AckChars, 800)) return x.result;
    // Identification, the three blocks and the band limits; with the menus 0x01D0 and the tables.
    x.plan(5 + (menus ? 1 + int(plan.requests.size()) : 0));
    bool ok = x.handshake(timing(0, 80)) && x.write(identificationRequest(x.identification()), BlockMs);
    if (ok && menus) {
        ok = x.write(QStringLiteral("570a01D0") + alignBlockHex(data, AlignAddr::Differences), WriteMs);
        for (const QString& request : std::as_const(plan.requests)) {
            if (!ok) break;
            ok = x.write(request, BlockMs);
        }
    }
    if (ok) ok = x.write(QStringLiteral("571201A0") + alignBlockHex(data, AlignAddr::Power), WriteMs);
    if (ok) ok = x.write(QStringLiteral("571201B0") + alignBlockHex(data, AlignAddr::Levels), WriteMs);
    if (ok) ok = x.write(QStringLiteral("571201C0") + alignBlockHex(data, AlignAddr::Timings), WriteMs);
    if (ok) ok = x.write(QStringLiteral("570A0158") + alignBlockHex(data, AlignAddr::BandLimits), WriteMs);
    return x.finish(ok, AckChars, 70, endFrame);
}

AlignResult writeIdentification(Session& session, Link& link) {
    Exchange x(session, link);
    if (!x.open(12, 250)) return x.result;
    x.plan(1);
    const bool ok =
        x.handshake(timing(170, 100)) && x.write(identificationRequest(x.identification()), BlockMs);
    return x.finish(ok, AckChars, 80);
}

std::optional<int> batteryOffset(const QList<int>& readings) {
    if (readings.size() != 4) return std::nullopt;
    int sum = 0;
    for (const int r : readings)
        sum += r;
    const int average = sum / 4;
    if (average < BatteryLow || average > BatteryHigh) return std::nullopt;
    return (BatteryCentre - average) & 0xFF;
}

AlignResult calibrateBattery(Session& session, Link& link) {
    Exchange x(session, link);
    if (!x.open(12, 250)) return x.result;
    bool ok = x.handshake(timing(170, 100));
    if (ok) {
        // "54", the four readings, padding and a checksum: a whole reply with a right sum only.
        const auto judge = [](QStringView text) {
            if (text == Frame::Busy) return Link::Verdict::Busy;
            if (text.isEmpty()) return Link::Verdict::Pending;
            if (!text.startsWith(QLatin1String("54"))) return Link::Verdict::Refuse;
            if (text.size() < BatteryReplyChars) return Link::Verdict::Pending;
            return text.size() == BatteryReplyChars && Frame::replyChecksumOk(text) ? Link::Verdict::Accept
                                                                                    : Link::Verdict::Damaged;
        };
        x.plan(1);
        const auto reply = link.ask(BatteryQuery, BatteryReplyChars, BatteryReplyMs, judge);
        ok = reply.has_value();
        if (ok) {
            const QByteArray bytes = Frame::fromHex(reply->mid(2, 8)).value_or(QByteArray());
            QList<int> readings;
            for (const char b : bytes)
                readings << quint8(b);
            if (const auto offset = batteryOffset(readings)) {
                ok = x.write(QStringLiteral("570301BE%1").arg(*offset, 2, 16, QLatin1Char('0')), WriteMs);
                if (ok) x.result.battery = QStringLiteral("OK !");
            } else {
                x.result.battery = QStringLiteral("Fail !");
                x.result.outcome = AlignResult::Outcome::BatteryFail;
            }
        }
    }
    return x.finish(ok, AckChars, 80);
}

AlignResult writeMenuEntry17(Session& session, Link& link) {
    Exchange x(session, link);
    const MenuPlan plan = planMenuEntry(session.alignment.menus, MenuTables::SquelchEntry);
    x.result.problems = menuProblems(plan, session.lang);
    if (!x.result.problems.isEmpty()) {
        x.result.outcome = AlignResult::Outcome::Refused;
        return x.result;
    }
    if (!x.open(AckChars, 800)) return x.result;
    x.plan(1);
    const bool ok = x.handshake(timing(0, 80)) && x.write(plan.requests.value(0), BlockMs);
    return x.finish(ok, AckChars, 70);
}
