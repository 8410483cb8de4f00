#!/usr/bin/env python3
"""Makes an import library whose functions load their DLL on their first call.

    delay_imports.py NM DLLTOOL IMPORT_LIBRARY DLL OUTPUT

Every function of the toolchain's import library for DLL gets a delay-load thunk, so that all
the program calls of that DLL is bound late without a list to keep up to date. The thunks call
__delayLoadHelper2, which the program defines itself (base/library_search.cpp).
"""

import os
import subprocess
import sys


def main():
    if len(sys.argv) != 6:
        sys.exit(__doc__)
    nm, dlltool, imports, dll, output = sys.argv[1:]
    symbols = subprocess.run([nm, imports], check=True, capture_output=True, text=True).stdout
    # "00000000 I __imp__MessageBoxA@16": the function's name as the compiler decorates it, after
    # the import prefix and the leading underscore of a C name on i686.
    names = sorted({line.split()[-1][len("__imp__"):] for line in symbols.splitlines()
                    if line.split()[-2:-1] == ["I"] and line.split()[-1].startswith("__imp__")})
    if not names:
        sys.exit(f"delay_imports: no functions in {imports}")
    definition = output + ".def"
    with open(definition, "w") as f:
        f.write(f"LIBRARY {dll}\nEXPORTS\n" + "".join(name + "\n" for name in names))
    if os.path.exists(output):
        os.remove(output)
    subprocess.run([dlltool, "--kill-at", "--deterministic-libraries", "--input-def", definition,
                    "--output-delaylib", output], check=True)


if __name__ == "__main__":
    main()
