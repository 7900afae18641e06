#!/usr/bin/env python3
"""The shared library exports exactly the routines its public header declares."""
import re
import subprocess
import sys

library, header = sys.argv[1], sys.argv[2]
text = "\n".join(line for line in open(header, encoding="utf-8")
                 if not line.lstrip().startswith("#"))
declared = set(re.findall(r"\bZQVAPI\b[^;(]*?\b(\w+)\s*\(", text))

out = subprocess.run(["nm", "-D", "--defined-only", library], check=True,
                     capture_output=True, text=True).stdout
exported = set()
for line in out.splitlines():
    parts = line.split()
    if len(parts) == 3 and parts[1] in "TDBRVWiu":
        exported.add(parts[2])
# Symbols every shared object carries.
exported -= {"_init", "_fini", "_edata", "_end", "__bss_start"}

missing = sorted(declared - exported)
extra = sorted(exported - declared)
for name in missing:
    print("declared but not exported:", name)
for name in extra:
    print("exported but not declared:", name)
print(f"{len(declared)} routines declared, {len(exported)} exported")
sys.exit(1 if missing or extra else 0)
