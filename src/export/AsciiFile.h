#pragma once

namespace tav {

class ExportFailures;
class FrmStoneID;

// Copies the stone's .asc file from the program folder into the ASCII export folder
// (always directly into it, whatever the bracket and sub-folder settings), with every
// identity block ("H OEDF StoneId" and the three lines after it) replaced by the five
// header lines of this stone. Every source line is taken; a source that ends inside a
// block ends the copy there. The shape "Brilliant" is named "Round" and "Pear" by the
// text of cboShape, and CurrentShape keeps that name.
//
// The copy replaces an old file only once it is complete, and never the source itself
// (an ASCII export folder that is the program folder). A missing source, or a copy that
// could not be made, is shown in a critical box and reported to the failures, so the
// problem log keeps it after the box is closed.
void WriteAsciiFile(FrmStoneID& window, ExportFailures& failures);

} // namespace tav
