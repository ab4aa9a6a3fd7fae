// SPDX-License-Identifier: GPL-3.0-or-later
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
    PortMenu = 22, // "通信端口": the port dialog's caption and menu item

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
    // What reached the radio, and why a radio that answered said no.
    ReachNothing = 360,
    ReachAll = 361,        // all %1 blocks
    PasswordRefused = 362, // the radio's password differs from the one in the options
    NotThisRadio = 363,    // the identification block is not this model's
    AlignmentReach = 364,  // "Factory alignment: %1" with a reach text
    // Questions before the service commands that change a radio's alignment.
    InitialiseWriteQuestion = 365,
    InitialiseReadQuestion = 366,
    UsageQuestion = 367, // %1: the chosen level

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

    // Backups, read-back verify, compare, several radios at once.
    BackupFailed = 550, // %1: why
    BackupSaved = 551,  // %1: the file
    Verified = 552,
    VerifyFailed = 553,
    VerifyChannel = 554, // %1 "channel 05" or "VFO 136", %2 side, %3 radio, %4 document
    VerifyBlock = 555,   // %1 region, %2 address
    RegionOptions = 556,
    RegionFm = 557,
    RegionCallList = 558,
    EmptyValue = 559,
    VerifyReadFailed = 560,
    DiffOptions = 561,
    DiffFm = 562,
    DiffCallList = 563,
    DiffNone = 564,
    BackupFirst = 565,
    VerifyAfterWrite = 566,
    BackupsMenu = 567,
    CompareFileMenu = 568,
    CompareRadioMenu = 569,
    BackupDate = 570,
    BackupSize = 571,
    BackupChannels = 572,
    BackupOpen = 573,
    DiffTitle = 574,
    DiffPlace = 575,
    DiffThis = 576,
    DiffOther = 577,
    PortDone = 578,   // %1 port
    PortFailed = 579, // %1 port, %2 why
    BackupPartial = 581,
    // Undo history, unsaved changes, window menu.
    EditMenu = 600,
    UndoMenu = 601,
    RedoMenu = 602,
    UndoStep = 603,
    RedoStep = 604,
    SaveChangesCaption = 606,
    SaveChangesQuestion = 607,
    SaveButton = 608,
    DiscardButton = 609,
    CancelButton = 610,
    Untitled = 611,
    WindowMenu = 612,
    TileMenu = 613,
    CascadeMenu = 614,
    DeleteAllCaption = 615,
    DeleteAllQuestion = 616,
    VfoRowsMoved = 617,
    StepVfoIntoBand = 618,
    StepChannel = 619,
    StepVfo = 620,
    StepEditRow = 621,
    StepDeleteRow = 622,
    StepAddRow = 623,
    StepSwapRows = 624,
    StepDeleteAll = 625,
    StepEditTable = 626,
    StepEditTables = 627,
    StepEditOptions = 628,
    StepEditFm = 629,
    StepEditCalls = 630,
    StepModelBand = 631,
    StepEditDocument = 632,
    StepNew = 633,
    StepOpen = 634,
    StepRead = 635,
    StepCsvImport = 636,
    // Factory alignment and the read/write dialog's service commands.
    AlignCaption = 500,    // caption of the alignment exchanges' message boxes
    AlignPortFailed = 501, // the port cannot be opened
    AlignLinkFailed = 502, // an exchange failed
    AlignNotSent = 503,    // values that do not fit: nothing was sent (a list follows)
    AlignBadValue = 504,   // %1 field, %2 text, %3 what it must be
    AlignReason255 = 505,
    AlignReason127 = 506,
    AlignReasonSigned = 507,
    AlignReasonMillis = 508,
    AlignReasonHex2 = 509,
    AlignReasonHex8 = 510,
    AlignMenuTexts = 511,   // menu texts or cai.ini values that do not fit their entries
    AlignFileShort = 512,   // %1 file, %2 line: the file ends before its 57 values
    AlignFileBadLine = 513, // %1 file, %2 line, %3 text, %4 field
    UsageOutOfRange = 514,  // %1 new value, %2 byte of 0x01B0
    ServiceGroup = 515,     // caption of the read/write dialog's service controls
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
    // The live list of problems before a write, and the names a screen reader speaks.
    ProblemsPanel = 900,         // the panel's caption and its menu item
    ProblemsStatus = 901,        // %1 errors, %2 warnings
    ProblemVfoMoved = 902,       // a VFO row outside its band: the write sets it to (value)
    ProblemOutsideBand = 903,    // a channel outside the selected band (value)
    ProblemTxOutsideBands = 904, // a transmit frequency outside band one and band two
    ProblemDuplicate = 905,      // same frequencies and tones as the channel (value)
    ProblemNoName = 906,         // no name while the radio shows channel names
    ProblemNoPassword = 907,     // the new password to write is empty
    ProblemsNone = 908,
    SeverityError = 909,
    SeverityWarning = 910,
    ProblemsHeaderSeverity = 911,
    ProblemsHeaderText = 912,
    ProblemsBeforeWrite = 913, // above the warnings before a write
    WriteAnyway = 914,
    AccessibleUp = 916, // %1: the field the arrow steps
    AccessibleDown = 917,
    // Tooltips of the optional functions, one per control, from here on in the order of
    // ui/options/functooltips.cpp.
    TipOptionsFirst = 750,
    // Files the user names (after the tooltips, which run to 846).
    NotARegularFile = 847,      // a folder, pipe or device: refused before reading
    BadChannelLabel = 848,      // %1 the label a channel line should start with, e.g. "CH004"
    CsvDuplicateLocation = 849, // %1 location, %2 the earlier line
    // Captions of the editor, outcomes for the status line, the note on a clamped frequency.
    SampleFillButton = 854,
    StatusReadDone = 855,
    StatusWriteDone = 856,
    StatusWriteRefused = 857,
    StatusReadIncomplete = 858,
    StatusWriteIncomplete = 859,
    StatusSaved = 860,
    StatusExported = 861,
    StatusOpened = 862,
    FrequencyClampedOutsideBand = 863,
    FrequencyClamped = 864,
    StatusImported = 865,
    StatusNewDocument = 867,
    StartFileNotOpened = 1150, // the file "%1" named at start could not be opened: %2; a new document
    StartFileAlignment = 1151, // "%1" is an alignment file, opened with kt520 --service
    // The read/write dialog's service commands, in its status line.
    StatusUsageChanged = 1200,   // %1 the level the radio held, %2 the level now written
    StatusUsageUnchanged = 1201, // the radio's alignment holds no level to change
    StatusInitialised = 1202,    // %1 the outcome of the transfer that followed the alignment
    // Replies that a USB serial adapter holds back, numbered apart from the rest (3700-3719).
    RepliesLate = 3700,             // %1 ms a reply, %2 s a full read
    LatencyTimerFixLinux = 3701,    // %1 the timer in ms, %2 the example udev rule, %3 the device
    LatencyTimerFixWindows = 3702,  // %1 the timer in ms, %2 the COM port
    RepliesLateLastTransfer = 3703, // %1 what the last transfer on the port found
    // Names for screen readers in the alignment window, the note on a tone the list lacks.
    SpokenAlignField = 1250,  // %1 the field number, %2 its caption
    SpokenMenuNumbers = 1251, // the columns of a menu-table tab, %1 the tab
    SpokenMenuTexts = 1252,
    SpokenMenuHex = 1253,
    SpokenMenuSecondHalves = 1254,
    SpokenNameField = 1255,
    SpokenNameHexField = 1256,
    SpokenPowerClass = 1257,
    ToneNotInList = 1258, // %1 the typed tone, %2 the tone the cell keeps
    // What a failed write may have left in the radio, and why the line went.
    WriteUnacknowledged = 1300, // %1 of %2 written; block %3 (%4 place) sent, never acknowledged
    RadioClockPlace = 1301,     // the place of the clock frame in WriteUnacknowledged
    PortWentAway = 1302,        // %1 the port: unplugged or without power, what to check
    // Channel numbers of imported lists, and what an import says about a line.
    CsvNumbering = 1303,         // caption of the import dialog's numbering choice
    CsvNumberingAuto = 1304,     // the file's numbers; a list counted from 0 moves up by one
    CsvNumberingKeep = 1305,     // the file's numbers exactly
    CsvCountedFromZero = 1306,   // warning: every channel placed one higher
    CsvNameCut = 1307,           // %1 name, %2 characters kept, %3 the name as kept
    CsvNoChannelLines = 1308,    // a list with only its header
    CsvUnclosedQuote = 1309,     // a quote opened on the line is never closed
    CsvBeyondLastChannel = 1310, // %1 location, %2 the channel it would be
    ReachNoDocument = 1311,      // the initialise command's write sent no block of the document
    // Files a script relies on: where a read's data are kept, a backup of a failed read.
    ReadKeptInBackup = 1350, // %1 the backup's document
    PartialBackup = 1351,    // %1 the file: what a backup of a failed read lacks
    DocLineMisfit = 1352,    // %1 line, %2 its start, %3 the label it should start with, %4 lines missing
    CsvMovedToRaster = 1353, // %1 the list's frequency, %2 the channel's
    // The status line after undo and redo, and the name of a field's pair of arrows.
    StatusUndone = 1400,     // %1 the step taken back
    StatusRedone = 1401,     // %1 the step done again
    AccessibleArrows = 1402, // %1 the field the arrows step
};
}
