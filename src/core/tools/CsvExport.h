#pragma once

// CSV export of link items: a header line, then one line per item, code
// page 932 with CR LF after every line.

#include <string>
#include <string_view>
#include <vector>

#include "core/collection/LinkItem.h"

namespace tessaly {

// How comments with line breaks are written, in the order of the dialog's
// choices.
enum class CsvCommentMode {
    Erase, // every CR LF removed
    Top, // the first line only
    Literal, // a C string literal's escapes: \\, \" and \n
    None, // no comment column at all
};

// The comment column's value in the mode (None gives the empty text).
std::string CsvComment(std::string_view comment, CsvCommentMode mode);

// Whether text cells that spreadsheets would run as formulas (beginning
// with "=", "+", "-", "@", TAB or CR: a title "=HYPERLINK(...)" from
// someone's bookmark file) are written as they are or behind an apostrophe,
// which makes a spreadsheet show them as text.
enum class CsvFormulas { AsStored, Defused };

// The whole file for the items, in their order.
std::string CsvText(
    const std::vector<TLinkItem>& items, CsvCommentMode mode, CsvFormulas formulas = CsvFormulas::AsStored);

// How many cells of CsvText(items, mode) would be taken for formulas.
std::size_t CsvFormulaCells(const std::vector<TLinkItem>& items, CsvCommentMode mode);

// The status column's label of a status value.
const std::string& CsvStatusLabel(int32_t status);

} // namespace tessaly
