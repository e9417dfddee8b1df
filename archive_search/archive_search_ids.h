#pragma once
// Control ids of the record-keeping dialogs (context help and the tests
// find the controls by them).

namespace belvorine {

namespace archive_search {
enum ControlId : int {
    kDateFromCheck = 1501,
    kDateFrom = 1502,
    kDateToCheck = 1503,
    kDateTo = 1504,
    kAmountFrom = 1505,
    kAmountTo = 1506,
    kCounterparty = 1507,
    kSearch = 1508,
    kList = 1509,
    kSummary = 1510,
    kOpen = 1511,
    kVoid = 1512,
    kVerify = 1513,
    kExport = 1514,
    kClose = 1515,
    kHelp = 1516,
};
}  // namespace archive_search

namespace void_reason {
enum ControlId : int {
    kDocument = 1520,
    kReason = 1521,
    kOk = 1522,
    kCancel = 1523,
    kHelp = 1524,
};
}  // namespace void_reason

namespace archive_options {
enum ControlId : int {
    kPdfPrints = 1540,
    kPaperPrints = 1541,
    kFolder = 1542,
    kFolderBrowse = 1543,
    kSqlite = 1544,
    kSqliteFile = 1545,
    kSqliteBrowse = 1546,
    kPostgres = 1547,
    kHost = 1548,
    kPort = 1549,
    kDatabase = 1550,
    kUser = 1551,
    kTest = 1552,
    kOk = 1555,
    kCancel = 1556,
    kHelp = 1557,
};
}  // namespace archive_options

}  // namespace belvorine
