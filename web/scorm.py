"""Writes the package that course platforms import as an activity (SCORM 1.2):
the page as index.html and the course site's icons, with imsmanifest.xml at
the root naming the page as the one content object and listing every file. The
same bytes from build to build: the entries in order, each dated 1980-01-01.
   python3 scorm.py PAGE SITE_FOLDER PACKAGE_ZIP
"""
import html
import os
import re
import sys
import zipfile

page_file, site, package = sys.argv[1:4]
files = ['index.html'] + sorted(f for f in os.listdir(site) if f.startswith('icon'))
with open(page_file, encoding='utf-8') as page:
    name = re.search(r'<title>([^<]*)</title>', page.read()).group(1)  # as the page has it
name = html.escape(html.unescape(name), quote=False)
listed = '\n'.join(f'      <file href="{html.escape(f)}"/>' for f in files)
manifest = f'''<?xml version="1.0" encoding="UTF-8"?>
<manifest identifier="integration-velmar"
          xmlns="http://www.imsproject.org/xsd/imscp_rootv1p1p2"
          xmlns:adlcp="http://www.adlnet.org/xsd/adlcp_rootv1p2">
  <metadata>
    <schema>ADL SCORM</schema>
    <schemaversion>1.2</schemaversion>
  </metadata>
  <organizations default="integration-velmar-organization">
    <organization identifier="integration-velmar-organization">
      <title>{name}</title>
      <item identifier="integration-velmar-item" identifierref="integration-velmar-page" isvisible="true">
        <title>{name}</title>
      </item>
    </organization>
  </organizations>
  <resources>
    <resource identifier="integration-velmar-page" type="webcontent" adlcp:scormtype="sco" href="index.html">
{listed}
    </resource>
  </resources>
</manifest>
'''


def entry(file_name):
    info = zipfile.ZipInfo(file_name, date_time=(1980, 1, 1, 0, 0, 0))
    info.compress_type = zipfile.ZIP_DEFLATED
    info.external_attr = 0o644 << 16
    return info


with zipfile.ZipFile(package + '.part', 'w') as out:
    out.writestr(entry('imsmanifest.xml'), manifest.encode('utf-8'))
    for f in files:
        with open(page_file if f == 'index.html' else os.path.join(site, f), 'rb') as data:
            out.writestr(entry(f), data.read())
os.replace(package + '.part', package)
