#!/usr/bin/env python3
"""make_zip.py ZIP EPOCH FILE...: packs the files, by their names alone, into
ZIP with the time EPOCH (seconds since 1970, UTC) and nothing from the
machine that packs them (no local times, owners or access times), so that
the same files always give the same zip."""
import os
import sys
import time
import zipfile


def main():
    out, epoch, files = sys.argv[1], int(sys.argv[2]), sys.argv[3:]
    # A zip's times start in 1980.
    date = time.gmtime(max(epoch, 315532800))[:6]
    with zipfile.ZipFile(out + ".part", "w") as archive:
        for path in files:
            entry = zipfile.ZipInfo(os.path.basename(path), date)
            entry.compress_type = zipfile.ZIP_DEFLATED
            entry.create_system = 3  # Unix, so that the mode below counts
            mode = 0o755 if path.endswith(".exe") else 0o644
            entry.external_attr = (0o100000 | mode) << 16
            with open(path, "rb") as data:
                archive.writestr(entry, data.read(), compresslevel=9)
    os.replace(out + ".part", out)


if __name__ == "__main__":
    main()
