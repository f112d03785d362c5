#pragma once

namespace zelvo {

// The program started with arguments: the results of one function printed on
// standard output, the table and the graph written to files, without a window
// and without a display. Returns the exit status: 0 done, 1 an input refused
// (or a file that cannot be written), 2 a usage error.
int rigaDiComando(int argc, char *argv[]);

} // namespace zelvo
