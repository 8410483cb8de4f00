#!/usr/bin/env python3
"""Checks the winget and Scoop manifests that the Windows build writes beside the installer and
the zip: they parse as YAML and JSON, name every field that their formats require, say what the
installer does (its type, scope, switches, exit codes, entry in Installed apps) as the installer
script has it, and carry the SHA-256 of the files built with them.

    check_manifests.py BUILD_FOLDER

Prints one line for each check that fails and ends with "N passed, M failed".
"""

import hashlib
import json
import os
import re
import sys
import zipfile

import yaml

HERE = os.path.dirname(os.path.abspath(__file__))
NSI = os.path.join(HERE, "..", "..", "packaging", "corvane.nsi")

# The fields that winget's schema (1.12.0) requires of each file, and of each installer.
WINGET_REQUIRED = {
    "version": ["PackageIdentifier", "PackageVersion", "DefaultLocale", "ManifestType",
                "ManifestVersion"],
    "installer": ["PackageIdentifier", "PackageVersion", "Installers", "ManifestType",
                  "ManifestVersion"],
    "defaultLocale": ["PackageIdentifier", "PackageVersion", "PackageLocale", "Publisher",
                      "PackageName", "License", "ShortDescription", "ManifestType",
                      "ManifestVersion"],
}
INSTALLER_REQUIRED = ["Architecture", "InstallerUrl", "InstallerSha256"]
# Scoop's schema requires the version; its buckets also want these for an app with a download.
SCOOP_REQUIRED = ["version", "description", "homepage", "license", "url", "hash"]

passed = 0
failed = 0


def check(name, condition, detail=""):
    global passed, failed
    if condition:
        passed += 1
    else:
        failed += 1
        print(f"FAILED: {name}" + (f" ({detail})" if detail else ""))


def sha256_of(path):
    with open(path, "rb") as file:
        return hashlib.sha256(file.read()).hexdigest()


def nsi_define(name):
    with open(NSI, encoding="utf-8") as file:
        match = re.search(rf'^!define {name} "?([^"\n]*)"?$', file.read(), re.MULTILINE)
    return match.group(1) if match else None


def main():
    build = sys.argv[1]
    setup = os.path.join(build, "corvane-1.0-setup.exe")
    release_zip = os.path.join(build, "corvane-1.0-win32.zip")
    folder = os.path.join(build, "manifests")
    winget = {}
    for kind, name in [("version", "Tolmarek.Corvane.yaml"),
                       ("installer", "Tolmarek.Corvane.installer.yaml"),
                       ("defaultLocale", "Tolmarek.Corvane.locale.en-US.yaml")]:
        path = os.path.join(folder, "winget", name)
        try:
            with open(path, encoding="utf-8") as file:
                winget[kind] = yaml.safe_load(file)
            check(f"{name} parses as YAML", isinstance(winget[kind], dict))
        except (OSError, yaml.YAMLError) as error:
            check(f"{name} parses as YAML", False, str(error))
            winget[kind] = {}
        manifest = winget[kind]
        for field in WINGET_REQUIRED[kind]:
            check(f"{name} names {field}", manifest.get(field) not in (None, ""))
        check(f"{name} is a {kind} manifest", manifest.get("ManifestType") == kind)
        check(f"{name} is for Tolmarek.Corvane 1.0",
              manifest.get("PackageIdentifier") == "Tolmarek.Corvane" and
              manifest.get("PackageVersion") == "1.0", str(manifest.get("PackageVersion")))
    check("the three winget files share one schema version",
          len({m.get("ManifestVersion") for m in winget.values()}) == 1)

    installer = winget["installer"]
    entries = installer.get("Installers") or [{}]
    check("the installer manifest has one installer", len(entries) == 1)
    entry = entries[0]
    for field in INSTALLER_REQUIRED:
        check(f"the installer names {field}", entry.get(field) not in (None, ""))
    check("the installer is nullsoft", installer.get("InstallerType") == "nullsoft")
    check("the installer installs for the user", installer.get("Scope") == "user")
    check("the installer is x86", entry.get("Architecture") == "x86")
    switches = installer.get("InstallerSwitches") or {}
    check("the silent switch is /S",
          switches.get("Silent") == "/S" and switches.get("SilentWithProgress") == "/S")
    check("an upgrade installs over the old version", installer.get("UpgradeBehavior") == "install")
    check("the command typed in a console is corvane", installer.get("Commands") == ["corvane"])
    uninstall_key = (nsi_define("UNINSTALL_KEY") or "").rsplit("\\", 1)[-1]
    check("the product code is the uninstall key's name",
          uninstall_key != "" and installer.get("ProductCode") == uninstall_key,
          f"{installer.get('ProductCode')!r}, key {uninstall_key!r}")
    codes = {c.get("InstallerReturnCode"): c.get("ReturnResponse")
             for c in installer.get("ExpectedReturnCodes") or []}
    check("exit code 32 means the package is in use", codes.get(32) == "packageInUse", str(codes))
    check("32 is the installer's code for Corvane being open",
          nsi_define("EXIT_CORVANE_OPEN") == "32")
    check("the installer's URL names the installer",
          str(entry.get("InstallerUrl", "")).startswith("https://") and
          str(entry.get("InstallerUrl", "")).endswith("/corvane-1.0-setup.exe"))
    check("the installer's hash is the built installer's",
          str(entry.get("InstallerSha256", "")).lower() == sha256_of(setup))
    locale = winget["defaultLocale"]
    check("the publisher is Tolmarek", locale.get("Publisher") == "Tolmarek")
    check("the locale file's locale is the default one",
          locale.get("PackageLocale") == winget["version"].get("DefaultLocale"))

    scoop_path = os.path.join(folder, "scoop", "corvane.json")
    try:
        with open(scoop_path, encoding="utf-8") as file:
            scoop = json.load(file)
        check("corvane.json parses as JSON", isinstance(scoop, dict))
    except (OSError, ValueError) as error:
        check("corvane.json parses as JSON", False, str(error))
        scoop = {}
    for field in SCOOP_REQUIRED:
        check(f"corvane.json names {field}", scoop.get(field) not in (None, ""))
    check("the Scoop manifest is for 1.0", scoop.get("version") == "1.0")
    check("the Scoop URL names the zip",
          str(scoop.get("url", "")).endswith("/corvane-1.0-win32.zip"))
    check("the Scoop hash is the built zip's", scoop.get("hash") == sha256_of(release_zip))
    with zipfile.ZipFile(release_zip) as archive:
        names = set(archive.namelist())
    inside = scoop.get("extract_dir", "") + "/"
    check("the Scoop manifest's command is the console twin, in the zip with corvane.exe",
          scoop.get("bin") == "corvane.com" and inside + "corvane.com" in names
          and inside + "corvane.exe" in names, str(scoop.get("bin")))
    shortcuts = scoop.get("shortcuts") or [[]]
    check("the Scoop shortcut starts corvane.exe and is called Corvane",
          shortcuts == [["corvane.exe", "Corvane"]], str(shortcuts))

    print(f"{passed} passed, {failed} failed")
    return 0 if failed == 0 else 1


if __name__ == "__main__":
    sys.exit(main())
