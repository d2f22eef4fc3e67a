#pragma once
// The field descriptors the demo installation fills in. They are the ones the
// program reads; the generator places every value through them, never through
// positions of its own.

namespace vx::demo::fields {

// Company record (archive 1).
inline constexpr const char* kCompanyCode = "DITX$,00003,03,N,0,T001";
inline constexpr const char* kCompanyName = "DITX$,00006,30,A,0,T002";
inline constexpr const char* kCompanyShortCode = "DITX$,01451,10,A,0,T003";
inline constexpr const char* kCompanyAddress = "DITX$,00052,30,A,0,T004";
inline constexpr const char* kCompanyPostcode = "DITX$,00082,05,A,0,T005";
inline constexpr const char* kCompanyTown = "DITX$,00087,20,A,0,T006";
inline constexpr const char* kCompanyProvince = "DITX$,00107,02,A,0,T007";
inline constexpr const char* kCompanyAccount1 = "DITX$,02517,12,A,0,T016";
inline constexpr const char* kCompanyBank1 = "DITX$,00201,25,A,0,T017";
inline constexpr const char* kCompanyAccount2 = "DITX$,04401,12,A,0,T603";
inline constexpr const char* kCompanyBank2 = "DITX$,04434,30,A,0,T607";
inline constexpr const char* kCompanyAccount3 = "DITX$,04512,12,A,0,T615";
inline constexpr const char* kCompanyBank3 = "DITX$,04545,30,A,0,T619";
inline constexpr const char* kCompanyPdfPassword = "DITX$,02483,10,A,0,T364";

// Fiscal record (archive 19, record 1).
inline constexpr const char* kFiscalPdfOwnerPassword = "FISX$,00983,10,A,0,F357";

// Employee record (archive 2).
inline constexpr const char* kEmployeeCode = "DIPX$,00003,10,A,0,P001";
inline constexpr const char* kEmployeeSurname = "DIPX$,09515,30,A,0,P002";
inline constexpr const char* kEmployeeFirstName = "DIPX$,09545,30,A,0,P003";
inline constexpr const char* kEmployeeStatus = "DIPX$,00223,01,N,0,P054";
inline constexpr const char* kEmployeePaymentMethod = "DIPX$,00399,01,N,0,P093";
inline constexpr const char* kEmployeeBankSlot = "DIPX$,12977,01,N,0,P853";
inline constexpr const char* kEmployeePayDate = "DIPX$,04375,08,D,0,Q179";
inline constexpr const char* kEmployeeNetPay = "DIPX$,01671,10,2,0,Q173";
inline constexpr const char* kEmployeeIbanCountry = "DIPX$,03849,02,A,0,P573";
inline constexpr const char* kEmployeeIbanCheck = "DIPX$,03851,02,A,0,P574";
inline constexpr const char* kEmployeeCin = "DIPX$,02703,01,A,0,P527";
inline constexpr const char* kEmployeeAbi = "DIPX$,02390,05,N,0,P338";
inline constexpr const char* kEmployeeCab = "DIPX$,02395,06,N,0,P339";
inline constexpr const char* kEmployeeAccount = "DIPX$,03926,16,A,0,P092";
inline constexpr const char* kEmployeeBic = "DIPX$,12210,11,A,0,P796";
inline constexpr const char* kEmployeeBankName = "DIPX$,03942,38,A,0,P091";
inline constexpr const char* kEmployeeIbanLayout = "DIPX$,15791,01,N,0,PB30";

}  // namespace vx::demo::fields
