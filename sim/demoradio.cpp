// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/demoradio.h"
#include "core/codeplug/controlnames.h"
#include "core/codeplug/session.h"
#include "core/link/radioport.h"
#include "core/memmap/radioblocks.h"
#include "core/transfer/writeprocedure.h"

namespace {

// One sample channel: table row 4 is channel 1. Tones are tone-list texts, empty = off.
struct SampleChannel {
    Side side;
    int channel;
    double rx;
    double tx; // 0 = same as RX
    const char* rxTone;
    const char* txTone;
    const char* name;
    bool low; // low power
};
constexpr SampleChannel SampleChannels[] = {
    {Side::A, 1, 438.500, 430.900, "", "88.5", "RPT-70", false},
    {Side::A, 2, 446.00625, 0, "67.0", "67.0", "PMR1", true},
    {Side::A, 3, 433.500, 0, "D023N", "D023N", "CALL", false},
    {Side::A, 4, 145.500, 0, "", "", "2M-CALL", false},
    {Side::A, 5, 462.5625, 0, "", "", "FRS1", true},
    {Side::B, 1, 145.600, 145.000, "", "88.5", "RPT-2M", false},
    {Side::B, 2, 144.800, 0, "", "", "APRS", true},
    {Side::B, 3, 439.250, 431.650, "D754I", "D754I", "ECHO", false},
    {Side::B, 10, 440.000, 0, "", "", "TEN", false},
};
// VFO rows 1-3 of both sides, one in each of the three bands of the delivered settings file.
constexpr double SampleVfo[] = {145.000, 223.500, 438.000};
constexpr double SampleFm[] = {87.5, 98.15, 101.7, 104.3};
constexpr const char* SampleCalls[] = {"1001", "1002", "1234", "A5B"};

void fillSample(Session& session) {
    Codeplug& doc = session.doc;
    doc.words = ValueWords::english();
    const QStringList bands = {QStringLiteral("136-174MHz"), QStringLiteral("220-260MHz"),
                               QStringLiteral("400-470MHz")};
    doc.main.setItems(MainCtl::Model, {QStringLiteral("KT-520RX")});
    doc.main.setIndex(MainCtl::Model, 0);
    doc.main.setItems(MainCtl::Band1, bands);
    doc.main.setIndex(MainCtl::Band1, 2); // the UHF band is the working band
    doc.main.setItems(MainCtl::Band2, {QStringLiteral("400-470MHz")});
    doc.main.setIndex(MainCtl::Band2, 0);
    const QChar point = systemDecimalPoint();
    auto channel = [&](ChannelTable& table, int row, double rx) {
        table.setCell(Col::RxFreq, row, formatFixed(rx, 5, point));
        table.newChannelDefaults(row, doc.words);
    };
    for (ChannelTable* table : {&doc.tableA, &doc.tableB}) {
        table->setRowLabels();
        for (int row = 1; row <= 3; ++row)
            channel(*table, row, SampleVfo[row - 1]);
    }
    for (const SampleChannel& c : SampleChannels) {
        ChannelTable& table = doc.table(c.side);
        const int row = c.channel + 3;
        channel(table, row, c.rx);
        if (c.tx > 0) table.setCell(Col::TxFreq, row, formatFixed(c.tx, 5, point));
        if (*c.rxTone) table.setCell(Col::RxTone, row, QString::fromLatin1(c.rxTone));
        if (*c.txTone) table.setCell(Col::TxTone, row, QString::fromLatin1(c.txTone));
        table.setCell(Col::Name, row, QString::fromLatin1(c.name));
        if (c.low) table.setCell(Col::Power, row, doc.words.low);
    }
    for (int row = 1; row <= int(std::size(SampleFm)); ++row)
        doc.func.setCell(Ctl::FmList, 1, row, formatFixed(SampleFm[row - 1], 3, point));
    for (int row = 1; row <= int(std::size(SampleCalls)); ++row)
        doc.func.setCell(Ctl::CallList, 1, row, QString::fromLatin1(SampleCalls[row - 1]));
    doc.func.setText(Ctl::Edit16, QStringLiteral("HELLO"));
}
} // namespace

QByteArray demoRadioImage() {
    Session session;
    fillSample(session);
    QByteArray memory = VirtualRadio::factoryMemory();
    auto put = [&](quint16 address, const QByteArray& bytes) {
        memory.replace(address, bytes.size(), bytes);
    };
    const WritePlan plan = planWrite(session, TransferOptions{}, firstNumbers(session.doc), MaxTransferRows);
    for (const WriteStep& step : plan.steps)
        if (step.kind != WriteStep::Kind::Clock) put(step.address, step.data);
    // Programmed by a dealer, so that a write from the program stamps it anew.
    put(Addr::ProgrammingStamp,
        programmingStamp(QDateTime(QDate(2024, 5, 10), QTime(9, 30, 0)), QStringLiteral("DEALER")));
    QByteArray factory =
        programmingStamp(QDateTime(QDate(2024, 1, 15), QTime(14, 2, 45)), QStringLiteral("DEMO"));
    put(Addr::FactoryStamp, factory);
    return memory;
}

DemoRadio::DemoRadio(int com) : m_com(com) {}

DemoRadio::~DemoRadio() {
    PortDirectory::overrideDevice(m_com, QString());
}
