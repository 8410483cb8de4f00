#!/usr/bin/env python3
"""Writes the package managers' manifests for a release, each with the SHA-256 of its file.

    make_manifests.py OUTPUT_FOLDER SETUP.exe RELEASE.zip VERSION DOWNLOAD_URL HOMEPAGE

- OUTPUT_FOLDER/winget/: the three files of a winget manifest for the installer (version,
  installer, default locale), named and laid out as the winget-pkgs repository takes them;
- OUTPUT_FOLDER/scoop/corvane.json: a Scoop manifest for the zip.

DOWNLOAD_URL is the folder where the installer and the zip are published; the manifests name
each file there by its own name. The output depends on the inputs alone, so two builds of the
same sources give the same manifests.
"""

import hashlib
import json
import os
import sys

PUBLISHER = "Tolmarek"
PACKAGE = "Corvane"
IDENTIFIER = f"{PUBLISHER}.{PACKAGE}"
LOCALE = "en-US"
# The schema that the winget-pkgs repository takes manifests in.
WINGET_SCHEMA = "1.12.0"
# The installer's entry in Installed apps: the key's name under ...\CurrentVersion\Uninstall.
UNINSTALL_KEY_NAME = "Corvane"
# The installer ends with this code when Corvane is open (it refuses to replace a running program).
EXIT_CORVANE_OPEN = 32
SHORT_DESCRIPTION = "A Windows front end for dvips, the TeX converter from DVI to PostScript"
DESCRIPTION = (
    "Corvane turns a TeX DVI file into PostScript with dvips, the converter of your TeX "
    "distribution, without typing its switches, and, if you like, into a PDF file with "
    "Ghostscript. One dialog with five tabs sets dvips's options; OK composes the command "
    "line and runs it.")
LICENSE = "MIT"


def sha256_of(path):
    digest = hashlib.sha256()
    with open(path, "rb") as file:
        for block in iter(lambda: file.read(1 << 16), b""):
            digest.update(block)
    return digest.hexdigest().upper()


def quoted(text):
    """A YAML scalar in double quotes; JSON's escapes are YAML's."""
    return json.dumps(text, ensure_ascii=False)


def yaml_document(manifest_type, fields):
    lines = [f"# yaml-language-server: $schema=https://aka.ms/winget-manifest.{manifest_type}"
             f".{WINGET_SCHEMA}.schema.json", ""]
    lines += fields
    lines += [f"ManifestType: {manifest_type}", f"ManifestVersion: {WINGET_SCHEMA}", ""]
    return "\n".join(lines)


def write(path, text):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "w", encoding="utf-8", newline="\n") as file:
        file.write(text)


def winget_files(version, setup_url, setup_hash, homepage):
    head = [f"PackageIdentifier: {IDENTIFIER}", f"PackageVersion: {quoted(version)}"]
    version_file = yaml_document("version", head + [f"DefaultLocale: {LOCALE}"])
    installer_file = yaml_document("installer", head + [
        "InstallerType: nullsoft",
        "Scope: user",
        "InstallModes:",
        "- interactive",
        "- silent",
        "InstallerSwitches:",
        "  Silent: /S",
        "  SilentWithProgress: /S",
        "ExpectedReturnCodes:",
        f"- InstallerReturnCode: {EXIT_CORVANE_OPEN}",
        "  ReturnResponse: packageInUse",
        "UpgradeBehavior: install",
        # What the user types in a console, once the installer has put the folder on the Path.
        "Commands:",
        "- corvane",
        "FileExtensions:",
        "- dvi",
        f"ProductCode: {quoted(UNINSTALL_KEY_NAME)}",
        "AppsAndFeaturesEntries:",
        f"- DisplayName: {PACKAGE}",
        f"  Publisher: {PUBLISHER}",
        f"  DisplayVersion: {quoted(version)}",
        f"  ProductCode: {quoted(UNINSTALL_KEY_NAME)}",
        "Installers:",
        "- Architecture: x86",
        f"  InstallerUrl: {setup_url}",
        f"  InstallerSha256: {setup_hash}",
    ])
    locale_file = yaml_document("defaultLocale", head + [
        f"PackageLocale: {LOCALE}",
        f"Publisher: {PUBLISHER}",
        f"PublisherUrl: {homepage}",
        f"PackageName: {PACKAGE}",
        f"PackageUrl: {homepage}",
        f"License: {LICENSE}",
        f"ShortDescription: {quoted(SHORT_DESCRIPTION)}",
        f"Description: {quoted(DESCRIPTION)}",
        "Tags:",
        "- dvips",
        "- tex",
        "- latex",
        "- postscript",
        "- pdf",
    ])
    return {
        f"{IDENTIFIER}.yaml": version_file,
        f"{IDENTIFIER}.installer.yaml": installer_file,
        f"{IDENTIFIER}.locale.{LOCALE}.yaml": locale_file,
    }


def scoop_manifest(version, zip_url, zip_hash, folder, homepage):
    manifest = {
        "version": version,
        "description": SHORT_DESCRIPTION,
        "homepage": homepage,
        "license": LICENSE,
        "url": zip_url,
        "hash": zip_hash.lower(),
        "extract_dir": folder,
        # The console twin, which cmd and make wait for; it starts corvane.exe beside it.
        "bin": "corvane.com",
        "shortcuts": [["corvane.exe", PACKAGE]],
    }
    return json.dumps(manifest, indent=4) + "\n"


def main():
    if len(sys.argv) != 7:
        sys.exit("usage: make_manifests.py OUTPUT_FOLDER SETUP.exe RELEASE.zip VERSION "
                 "DOWNLOAD_URL HOMEPAGE")
    output, setup, release_zip, version, download_url, homepage = sys.argv[1:]
    base = download_url.rstrip("/") + "/"
    setup_name = os.path.basename(setup)
    zip_name = os.path.basename(release_zip)
    files = winget_files(version, base + setup_name, sha256_of(setup), homepage)
    for name, text in files.items():
        write(os.path.join(output, "winget", name), text)
    # The zip holds one folder, named as the zip without its platform: corvane-1.0.
    folder = zip_name.rsplit("-", 1)[0]
    write(os.path.join(output, "scoop", "corvane.json"),
          scoop_manifest(version, base + zip_name, sha256_of(release_zip), folder, homepage))


if __name__ == "__main__":
    main()
