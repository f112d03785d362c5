#pragma once

#include <cstddef>

namespace zelvo {

// The abscissas of a sweep: x, x + s, (x + s) + s, ... by repeated addition
// in double precision, each one not beyond b; the sweep also ends where an
// addition no longer moves x. Writes at most n of them at xs, starting with x
// (which must not be beyond b when `altri` is true), and leaves in x the next
// one and in `altri` whether there is one. Returns how many were written.
//
// Every abscissa is the one repeated addition gives, bit for bit, but most
// are not computed one after the other: inside one binade of |x|, where the
// spacing u of the doubles is fixed, adding s always adds the same whole
// number d of u (s / u rounded to nearest, when it is no tie), so the k-th
// abscissa of a run is x + k * d * u, exact. A chain of dependent additions,
// four cycles each, becomes a loop of independent ones; only the few steps
// that cross from one binade to the next are added up one by one.
std::size_t ascisse(double &x, bool &altri, double b, double s, double *xs,
                    std::size_t n) noexcept;

} // namespace zelvo
