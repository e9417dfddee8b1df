#pragma once
// Control ids of the data entry dialog "DATADLG" (context help and the
// tests find the controls by them) and the text limits of its fields.

namespace belvorine::data_entry {

enum ControlId : int {
    kFormatName = 1001,
    kDateLabel = 1002,
    kYear = 1003,
    kYearUpDown = 1004,
    kYearLabel = 1005,
    kMonth = 1006,
    kMonthUpDown = 1007,
    kMonthLabel = 1008,
    kDay = 1009,
    kDayUpDown = 1010,
    kDayLabel = 1011,
    kCounterpartyLabel = 1012,
    kCounterparty = 1013,
    kHonorificLabel = 1014,
    kPaymentGroup = 1015,
    kNoteDaysLabel = 1016,
    kNoteRadio = 1017,
    kNoteDaysUnitLabel = 1018,
    kNoteDays = 1019,
    kLinesGroup = 1020,
    kLeaseRadio = 1021,
    kCashRadio = 1022,
    kExistingData = 1023,
    kNameHeader = 1030,
    kName1 = 1031,  // 1031 to 1035
    kQuantityHeader = 1040,
    kQuantity1 = 1041,  // 1041 to 1045
    kUnit1 = 1051,      // 1051 to 1055
    kUnitPriceHeader = 1060,
    kUnitPrice1 = 1061,  // 1061 to 1065
    kAmountHeader = 1070,
    kAmount1 = 1071,  // 1071 to 1075
    kDeliveryDateHeader = 1080,
    kDeliveryDate1 = 1081,  // 1081 to 1085
    kPlaceHeader = 1090,
    kPlace1 = 1091,       // 1091 to 1095
    kDatePicker1 = 1101,  // 1101 to 1105
    kSplit1 = 1111,       // 1111 to 1114, lines 1 to 4
    kApprovalLabel = 1121,
    kApproval = 1122,
    kOk = 1123,
    kCancel = 1124,
    kHelp = 1125,
    kClear = 1126,
};

// Text limits of the fields, in Shift-JIS bytes.
inline constexpr int kYearBytes = 5;
inline constexpr int kMonthDayBytes = 3;
inline constexpr int kCounterpartyBytes = 255;
inline constexpr int kNoteDaysBytes = 7;
inline constexpr int kApprovalBytes = 9;
inline constexpr int kNameBytes = 255;
inline constexpr int kQuantityBytes = 8;
inline constexpr int kUnitBytes = 9;
inline constexpr int kUnitPriceBytes = 7;
inline constexpr int kAmountBytes = 10;
inline constexpr int kDeliveryDateBytes = 29;
inline constexpr int kPlaceBytes = 39;

}  // namespace belvorine::data_entry
