#pragma once

// The built-in functions' implementations, shared by the two files that
// hold them; only Builtin.cpp's table uses these names.

#include "engine/Builtin.h"

namespace zelvo::interni {

using Args = std::span<const Valore>;

int fLen(Args a, Valore &r, ContestoEsecuzione &c);
int fLeft(Args a, Valore &r, ContestoEsecuzione &c);
int fRight(Args a, Valore &r, ContestoEsecuzione &c);
int fMid(Args a, Valore &r, ContestoEsecuzione &c);
int fInStr(Args a, Valore &r, ContestoEsecuzione &c);
int fInStrRev(Args a, Valore &r, ContestoEsecuzione &c);
int fStrComp(Args a, Valore &r, ContestoEsecuzione &c);
int fAsc(Args a, Valore &r, ContestoEsecuzione &c);
int fChr(Args a, Valore &r, ContestoEsecuzione &c);
int fLCase(Args a, Valore &r, ContestoEsecuzione &c);
int fUCase(Args a, Valore &r, ContestoEsecuzione &c);
int fTrim(Args a, Valore &r, ContestoEsecuzione &c);
int fLTrim(Args a, Valore &r, ContestoEsecuzione &c);
int fRTrim(Args a, Valore &r, ContestoEsecuzione &c);
int fSpace(Args a, Valore &r, ContestoEsecuzione &c);
int fString(Args a, Valore &r, ContestoEsecuzione &c);
int fStrReverse(Args a, Valore &r, ContestoEsecuzione &c);
int fReplace(Args a, Valore &r, ContestoEsecuzione &c);

// An integral argument (a length, a position): banker's rounding to a Long;
// Null is 94.
int argomentoIntero(const Valore &v, const ContestoEsecuzione &c, double &n);

} // namespace zelvo::interni
