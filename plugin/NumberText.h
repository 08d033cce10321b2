#pragma once

// The decimal number at the start of text, read the same way whatever locale the host has set
// (a decimal point, never a comma); 0 when the text does not start with one or names no number
// (NaN). Beyond a double it gives the limit the text approaches, as the C library reads it.
double LeadingNumber(const char* text);
