"""Builds the Debian package from the build tree and checks it as an
administrator would meet it: Debian's lintian, the AppStream and desktop
entry validators, the files it installs, and the program it ships run on a
demo installation."""

import argparse
import os
import re
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET

failures = []


def check(condition, message):
    if not condition:
        failures.append(message)
        print("FAILED: " + message, file=sys.stderr)


def run(command, **kwargs):
    return subprocess.run(command, capture_output=True, text=True, **kwargs)


def main():
    parser = argparse.ArgumentParser()
    for name in ("--cpack", "--build-dir", "--version", "--built", "--demo"):
        parser.add_argument(name, required=True)
    args = parser.parse_args()

    with tempfile.TemporaryDirectory(prefix="vxorel-package-") as work:
        made = run([args.cpack, "-G", "DEB", "--config", os.path.join(args.build_dir, "CPackConfig.cmake"),
                    "-B", work])
        arch = run(["dpkg", "--print-architecture"]).stdout.strip()
        deb = os.path.join(work, f"vxorel_{args.version}_{arch}.deb")
        if made.returncode != 0 or not os.path.exists(deb):
            sys.exit(f"cpack made no {os.path.basename(deb)}:\n{made.stdout}{made.stderr}")

        fields = {name: run(["dpkg-deb", "-f", deb, name]).stdout.strip() for name in ("Version", "Depends")}
        check(fields["Version"] == args.version, f"package version {fields['Version']!r}")
        # Computed from what the binary links, not listed by hand.
        for library in ("libqt6widgets6", "libqt6printsupport6", "libc6"):
            check(re.search(rf"\b{library}\b", fields["Depends"]) is not None,
                  f"Depends lacks {library}: {fields['Depends']}")

        # Neither errors nor warnings, and the binary built with the usual
        # hardening (whose absence lintian tells among its hints); the other
        # hints (I:) are left to read.
        lintian = run(["lintian", "--display-info", "--tag-display-limit", "0", deb])
        for line in lintian.stdout.splitlines():
            check(not re.match(r"^[EW]: ", line) and " hardening-" not in line, "lintian: " + line)
        check(lintian.returncode == 0, "lintian failed:\n" + lintian.stdout + lintian.stderr)

        listed = run(["dpkg-deb", "-c", deb]).stdout
        files = sorted(line.split()[-1] for line in listed.splitlines() if not line.startswith("d"))
        check(files == sorted([
            "./usr/bin/vxorel",
            "./usr/libexec/vxorel/vxorel-qt",
            "./usr/share/applications/vxorel.desktop",
            "./usr/share/doc/vxorel/changelog.gz",
            "./usr/share/doc/vxorel/copyright",
            "./usr/share/icons/hicolor/scalable/apps/vxorel.svg",
            "./usr/share/man/man1/vxorel.1.gz",
            "./usr/share/metainfo/vxorel.metainfo.xml",
        ]), "package files:\n" + listed)

        root = os.path.join(work, "root")
        run(["dpkg-deb", "-x", deb, root]).check_returncode()
        metainfo = os.path.join(root, "usr/share/metainfo/vxorel.metainfo.xml")
        valid = run(["appstreamcli", "validate", "--no-net", "--pedantic", metainfo])
        check(valid.returncode == 0, "appstreamcli validate:\n" + valid.stdout + valid.stderr)
        desktop = os.path.join(root, "usr/share/applications/vxorel.desktop")
        valid = run(["desktop-file-validate", desktop])
        check(valid.returncode == 0 and valid.stdout == "", "desktop-file-validate:\n" + valid.stdout)

        # One version everywhere: the program, the package, the release
        # software centres show and the manual page.
        program = os.path.join(root, "usr/bin/vxorel")
        check(run([program, "--version"]).stdout == f"vxorel {args.version}\n", "vxorel --version")
        releases = ET.parse(metainfo).getroot().findall("releases/release")
        check(releases and releases[0].get("version") == args.version, "metainfo release version")
        page = run(["man", "-l", os.path.join(root, "usr/share/man/man1/vxorel.1.gz")],
                   env={**os.environ, "MANWIDTH": "80"}).stdout
        check(f"vxorel {args.version}" in page, "manual page version")

        # The shipped program reads the demo installation as the built one does.
        prefix = os.path.join(work, "prefix")
        run([args.demo, prefix]).check_returncode()
        env = {**os.environ, "WINEPREFIX": prefix}
        shipped = run([program, "--batch", "--companies"], env=env)
        built = run([args.built, "--batch", "--companies"], env=env)
        check(shipped.returncode == 0 and shipped.stdout != "" and shipped.stdout == built.stdout,
              f"packaged vxorel --batch --companies: {shipped.returncode}\n{shipped.stdout}{shipped.stderr}")

    sys.exit(1 if failures else 0)


if __name__ == "__main__":
    main()
