#pragma once
// The field descriptors this program reads, by what they hold. Each one says
// record prefix, 1-based offset, length, type (A text, N whole number, D date,
// a digit = implied decimals), flag and field id; field access reads them
// with RepoR and RepoN.

#include <string_view>

namespace vx::archive::fields {

// Company record (archive 1, buffer "DITX$").
inline constexpr std::string_view kCompanyCode = "DITX$,00003,03,N,0,T001";
inline constexpr std::string_view kCompanyName = "DITX$,00006,30,A,0,T002";
// Ten characters printed after the company name.
inline constexpr std::string_view kCompanyTenCharCode = "DITX$,01451,10,A,0,T003";
inline constexpr std::string_view kCompanyAddress = "DITX$,00052,30,A,0,T004";
inline constexpr std::string_view kCompanyPostalCode = "DITX$,00082,05,A,0,T005";
inline constexpr std::string_view kCompanyTown = "DITX$,00087,20,A,0,T006";
inline constexpr std::string_view kCompanyProvince = "DITX$,00107,02,A,0,T007";
// The company's three alternative account number and bank pairs.
inline constexpr std::string_view kCompanyAccount1 = "DITX$,02517,12,A,0,T016";
inline constexpr std::string_view kCompanyBank1 = "DITX$,00201,25,A,0,T017";
inline constexpr std::string_view kCompanyAccount2 = "DITX$,04401,12,A,0,T603";
inline constexpr std::string_view kCompanyBank2 = "DITX$,04434,30,A,0,T607";
inline constexpr std::string_view kCompanyAccount3 = "DITX$,04512,12,A,0,T615";
inline constexpr std::string_view kCompanyBank3 = "DITX$,04545,30,A,0,T619";
// User password of the company's PDF files.
inline constexpr std::string_view kCompanyPdfPassword = "DITX$,02483,10,A,0,T364";

// Fiscal record (archive 19 record 1, buffer "FISX$"): owner password of the
// PDF files.
inline constexpr std::string_view kFiscalPdfOwnerPassword = "FISX$,00983,10,A,0,F357";

// Employee record (archive 2, buffer "DIPX$").
// Employee code: company (3), sub-company (3), employee number (4).
inline constexpr std::string_view kEmployeeCode = "DIPX$,00003,10,A,0,P001";
// The first three characters of the employee code as a number.
inline constexpr std::string_view kEmployeeCompanyCode = "DIPX$,00003,03,N,1,P175";
inline constexpr std::string_view kEmployeeSurname = "DIPX$,09515,30,A,0,P002";
inline constexpr std::string_view kEmployeeFirstName = "DIPX$,09545,30,A,0,P003";
// One-digit code the selection compares with 2.
inline constexpr std::string_view kEmployeeCodeP054 = "DIPX$,00223,01,N,0,P054";
// Payment method; 2 is bank transfer.
inline constexpr std::string_view kEmployeePaymentMethod = "DIPX$,00399,01,N,0,P093";
// Which of the employee's three bank slots (0, 1, 2) is in use.
inline constexpr std::string_view kEmployeeBankSlot = "DIPX$,12977,01,N,0,P853";
// Date, day month year; characters 3-4 are the month.
inline constexpr std::string_view kEmployeePaymentDate = "DIPX$,04375,08,D,0,Q179";
// Net pay, two implied decimals.
inline constexpr std::string_view kEmployeeNetPay = "DIPX$,01671,10,2,0,Q173";
inline constexpr std::string_view kEmployeeIbanCountry = "DIPX$,03849,02,A,0,P573";
inline constexpr std::string_view kEmployeeIbanCheckDigits = "DIPX$,03851,02,A,0,P574";
inline constexpr std::string_view kEmployeeCin = "DIPX$,02703,01,A,0,P527";
inline constexpr std::string_view kEmployeeAbi = "DIPX$,02390,05,N,0,P338";
inline constexpr std::string_view kEmployeeCab = "DIPX$,02395,06,N,0,P339";
inline constexpr std::string_view kEmployeeAccount = "DIPX$,03926,16,A,0,P092";
inline constexpr std::string_view kEmployeeBic = "DIPX$,12210,11,A,0,P796";
inline constexpr std::string_view kEmployeeBankName = "DIPX$,03942,38,A,0,P091";
// IBAN layout selector; 1 is the 4/4/14-digit layout.
inline constexpr std::string_view kEmployeeIbanLayout = "DIPX$,15791,01,N,0,PB30";

}  // namespace vx::archive::fields
