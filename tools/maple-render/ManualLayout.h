#pragma once

class QPdfWriter;
class QTextDocument;

// Prepares the manual for the page: every top-level heading but the first
// starts a new page, and pictures wider than the text shrink to its width.
void LayOutManual(QTextDocument& document, const QPdfWriter& writer);
