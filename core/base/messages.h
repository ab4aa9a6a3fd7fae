#pragma once

// String numbers of the language tables. The numbers below 300 are the radio software's own
// numbering; 300 and above are texts this program adds (messages for mends and the command line).
namespace Str {
enum : int {
    WordOff = 34,
    WordOn = 35,
    WordHigh = 36,
    WordLow = 37,
    WordMid = 250,
    WordWide = 74,
    WordNarrow = 75,
    WordCompander = 78,
    WordScrambler = 79,
    WarnCaption = 58,
    PortOpenFailed = 59,
    LinkFailed = 60,
    StatusLine = 61,
    NewCaption = 62,
    NewQuestion = 64,
    ReadLabel = 53,
    WriteLabel = 54,

    // Added by this program. Texts with %1, %2 ... are filled in by the caller.
    NumberConversion = 300,    // "%1" is not a valid number
    LinesNotApplied = 301,     // document lines that could not be applied: %1
    OverwriteQuestion = 302,   // "%1" exists; replace it?
    ValidationFailed = 303,    // the document holds values the radio cannot take; nothing was sent
    ChannelRangeInvalid = 304, // the channel range must be a number from 1 to 99
    PasswordInvalid = 305,     // a password may hold only the digits 0-9
    FileError = 306,           // cannot read or write "%1": %2
    TraceCheck = 307,          // caption of the trace check box of the read/write dialog
    ProblemCell = 310,         // table %1, row %2, column %3: %4
    ProblemField = 311,        // %1: %2
    BadFrequency = 312,
    BadTone = 313,
    BadCtcssFrequency = 314,
    BadName = 315,
    BadDtmf = 316,
    BadPassword = 317,
    BadFmFrequency = 318,
    BadDate = 319,
    OutOfRange = 320,
    BadText = 321,         // text holds "|", a line break or characters the radio cannot show
    ReadDone = 322,        // status line after a successful transfer
    Transferring = 323,    // status line while a transfer runs
    DemoPort = 324,        // label of the virtual radio's port in the port dialog
    LineTooLong = 325,     // a document line longer than any line the program writes
    DamagedLine = 326,     // a document line that is missing or lacks its separators
    BadBandText = 327,     // not a band text such as 400-470MHz
    NothingSelected = 328, // a list without selection cannot be written to the radio
    BadValue = 329,        // not one of the column's values (a word of another language)
    // Why a file could not be written, for the failures a user can act on.
    NoSpace = 340,
    QuotaExceeded = 341,
    FileTooLarge = 342,
    NoPermission = 343,
    ReadOnlyDisk = 344,
    NoSuchFolder = 345,
    DiskIoError = 346,
    // A failed transfer: how far a write got, and why the line failed.
    WriteCutOff = 350,   // the write stopped after %1 of %2 blocks
    PortBroke = 351,     // the port failed: %1
    PortNotOpened = 352, // the port could not be opened: %1
    NoReply = 353,
    RadioBusy = 354,       // busy for %1 s
    DamagedReplies = 355,  // replies damaged for %1 s
    UnexpectedReply = 356, // %1: the reply as hex

    // Channel lists in CSV files and printing.
    CsvLine = 400,    // line %1: %2
    CsvDropped = 401, // %1 - dropped
    CsvTotals = 402,  // imported %1, dropped %2, warnings %3
    CsvNoHeader = 403,
    CsvBadLocation = 404,
    CsvNoChannelLeft = 405,
    CsvBadFrequency = 406,
    CsvBadTx = 407,
    CsvBadDuplex = 408,
    CsvBadMode = 409,
    CsvBadTone = 410,
    CsvBadName = 411,
    CsvImportMenu = 412,
    CsvExportMenu = 413,
    CsvTable = 414,
    CsvRenumber = 415,
    CsvReplace = 416,
    CsvReportTitle = 417,
    PrintMenu = 418,
    PdfMenu = 419,

    // Screens, port dialog, desktop habits, channel clipboard, tooltips.
    DocIncomplete = 700,
    DocNotADocument = 701,
    PortStateMissing = 702,
    PortStateInUse = 703,
    PortStateNoPermission = 704,
    PortStateNotSerial = 705,
    PortStateFree = 706,
    PortDeviceField = 707,
    PortNoneFound = 708,
    PortOpenFailedDevice = 709,
    PortPermissionHint = 710,
    PortToolTip = 711,
    PortNoDevice = 712,
    RecentFilesMenu = 713,
    RecentFilesClear = 714,
    AboutVersion = 715,
    AboutLicence = 716,
    EditCut = 717,
    EditCopy = 718,
    EditPaste = 719,
    InsertChannel = 720,
    DeleteChannel = 721,
    InsertRefused = 722,
    CloseButton = 723,
    CancelButton = 724,
    TransferCancelled = 725,
    RangeLabel = 726,
    HelpGuideCaption = 727,
    PasteRefused = 728,
    PortStateOverride = 729,
    TipColChannel = 730,
    TipColRxFreq = 731,
    TipColRxTone = 732,
    TipColTxFreq = 733,
    TipColTxTone = 734,
    TipColPower = 735,
    TipColBandwidth = 736,
    TipColScanAdd = 737,
    TipColBusyLock = 738,
    TipColSignal = 739,
    TipColCompander = 740,
    TipColVox = 741,
    TipColPttId = 742,
    TipColDtmf = 743,
    TipColName = 744,
    TipColSte = 745,
    TipColReverse = 746,
    TipColTalkaround = 747,
    TipColCtcssHz = 748,
    // Tooltips of the optional functions, one per control, from here on in the order of
    // ui/options/functooltips.cpp.
    TipOptionsFirst = 750,
};
}
