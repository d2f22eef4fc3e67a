#pragma once
// The names of the company PDF files and of the folder tree they live in.

#include <string>

namespace vx::output {

// The root of the PDF tree for an archives folder: the folder's parent (the
// text before its last backslash), or the drive ("C:") for a folder of three
// characters or fewer. A longer folder without any backslash gives no new
// root, so `previous` is returned.
std::string PdfRoot(const std::string& percorso_archivi, const std::string& previous);

// File name of a company's listing: base & code & "_" & name & ".pdf", the
// underscore left out when the name is empty, then made safe.
std::string PdfFileName(const std::string& base, const std::string& codice,
                        const std::string& ragione_sociale);

// A name safe for the file system: no trailing ".", and each of
// * | \ : < > ? / " and each control character replaced by "_".
void CleanFileName(std::string& nome);

}  // namespace vx::output
