#pragma once

// Readers of personal-folders files that share no code with the writer: libpff's pffexport
// and libpst's readpst, whose output trees a Python script turns into one line per folder
// and per item.
namespace velmor::test {

// Lines of pffexport's text export below its root: "F|path|items" per folder, then per item
// "I|folder|subject|sender|recipients|filetime|body", "C|given|surname|home|business|mobile|
// postal|email" for a contact and "L|location" for an appointment.
inline constexpr char kPffExportReader[] = R"(
import sys, os, re, datetime
root = sys.argv[1]
KEY = re.compile(r'^([A-Za-z0-9 ]+):\t+(.*)$')
HEADERS = ['OutlookHeaders.txt', 'Contact.txt', 'Appointment.txt', 'Task.txt', 'Note.txt',
           'Activity.txt']
ITEM = re.compile(r'^(Message|Contact|Appointment|Task|Note|Activity)\d{5}$')
EPOCH = datetime.datetime(1601, 1, 1)
def filetime(text):
    if not text:
        return ''
    t = datetime.datetime.strptime(text.split('.')[0], '%b %d, %Y %H:%M:%S')
    return str(int((t - EPOCH).total_seconds()) * 10000000)
def fields(path):
    values = {}
    if os.path.exists(path):
        with open(path, encoding='utf-8') as f:
            for line in f:
                m = KEY.match(line.rstrip('\n'))
                if m and m.group(1) not in values:
                    values[m.group(1)] = m.group(2)
    return values
def names(path):
    if not os.path.exists(path):
        return []
    with open(path, encoding='utf-8') as f:
        return [l.split(':', 1)[1].strip() for l in f if l.startswith('Display name:')]
for folder, dirs, files in os.walk(root):
    dirs.sort()
    rel = os.path.relpath(folder, root).replace(os.sep, '\\')
    items = [d for d in dirs if ITEM.match(d)]
    dirs[:] = [d for d in dirs if not ITEM.match(d)]
    print('F|' + rel + '|' + str(len(items)))
    for item in items:
        path = os.path.join(folder, item)
        header = next(h for h in HEADERS if os.path.exists(os.path.join(path, h)))
        v = fields(os.path.join(path, header))
        body = ''
        for name in ['Message.txt', 'Message.html']:
            if os.path.exists(os.path.join(path, name)):
                with open(os.path.join(path, name), encoding='utf-8') as f:
                    body = f.read().rstrip()
                break
        print('|'.join(['I', rel, v.get('Subject', ''), v.get('Sender name', ''),
                        ','.join(names(os.path.join(path, 'Recipients.txt'))),
                        filetime(v.get('Client submit time', '')), repr(body)]))
        if header == 'Contact.txt':
            print('|'.join(['C'] + [v.get(k, '') for k in ['Given name', 'Surname',
                  'Home phone number', 'Business phone number 1', 'Mobile phone number',
                  'Postal address', 'Email address 1']]))
        if header == 'Appointment.txt':
            print('L|' + v.get('Location', ''))
)";

// Lines of readpst's separate-file output below its root, folders as directories: per
// mail "M|folder|subject|from name|To header|filetime|text body", per contact "C|folder|FN|
// N|home|work|cell|label|email", per calendar entry "E|folder|summary|filetime|location".
inline constexpr char kReadpstReader[] = R"(
import sys, os, re, datetime, email, email.policy, email.utils
root = sys.argv[1]
EPOCH = datetime.datetime(1601, 1, 1, tzinfo=datetime.timezone.utc)
def filetime(t):
    return str(int((t - EPOCH).total_seconds()) * 10000000) if t else ''
def number(name):
    return int(name.split('.')[0]) if name.split('.')[0].isdigit() else 0
def unfold(path):
    with open(path, encoding='utf-8') as f:
        return [l.rstrip('\r\n') for l in f]
def prop(lines, name):
    for l in lines:
        key, _, value = l.partition(':')
        if key == name or key.startswith(name + ';'):
            return value.replace('\\,', ',')
    return ''
for folder, dirs, files in os.walk(root):
    dirs.sort()
    rel = os.path.relpath(folder, root).replace(os.sep, '\\')
    for name in sorted(files, key=number):
        path = os.path.join(folder, name)
        if name.endswith('.eml'):
            with open(path, 'rb') as f:
                msg = email.message_from_binary_file(f, policy=email.policy.default)
            sender = email.utils.parseaddr(str(msg['From'] or ''))[0]
            to = [str(msg['To'])] if msg['To'] else []
            date = msg['Date'].datetime if msg['Date'] else None
            part = msg.get_body(('plain',))
            body = part.get_content().rstrip() if part else ''
            print('|'.join(['M', rel, str(msg['Subject'] or ''), sender, ','.join(to),
                            filetime(date), repr(body)]))
        elif name.endswith('.vcf'):
            lines = unfold(path)
            tel = {t: '' for t in ['home', 'work', 'cell']}
            for l in lines:
                if l.startswith('TEL;TYPE='):
                    kind = l[len('TEL;TYPE='):].split(',')[0]
                    tel[kind] = l.split(':', 1)[1]
            print('|'.join(['C', rel, prop(lines, 'FN'), prop(lines, 'N'), tel['home'],
                            tel['work'], tel['cell'], prop(lines, 'LABEL'), prop(lines, 'EMAIL')]))
        elif name.endswith('.ics'):
            lines = unfold(path)
            start = prop(lines, 'DTSTART')
            when = datetime.datetime.strptime(start, '%Y%m%dT%H%M%SZ').replace(
                tzinfo=datetime.timezone.utc) if start else None
            print('|'.join(['E', rel, prop(lines, 'SUMMARY'), filetime(when),
                            prop(lines, 'LOCATION')]))
)";

// A third reader, the npm package pst-extractor (when installed globally): "F|path|items"
// per folder below the root, then "I|path|subject" per item. The environment variable
// NODE_PATH must name the global modules.
inline constexpr char kPstExtractorReader[] = R"(
const { PSTFile } = require('pst-extractor');
const file = new PSTFile(process.argv[2]);
function walk(folder, path) {
  let count = 0;
  if (folder.contentCount > 0) {
    for (let item = folder.getNextChild(); item != null; item = folder.getNextChild()) {
      console.log('I|' + path + '|' + item.subject);
      count++;
    }
  }
  console.log('F|' + path + '|' + count);
  for (const child of folder.hasSubfolders ? folder.getSubFolders() : []) {
    walk(child, (path === '' ? '' : path + '\\') + child.displayName);
  }
}
walk(file.getRootFolder(), '');
)";

// Checks a file's structure with a CRC of its own (zlib's, without its inversions): the header
// CRCs, every B-tree page (CRC, signature), every block the block B-tree names (trailer size,
// BID, CRC, signature), every allocation map (CRC, and its bits exactly the slots that pages,
// blocks and maps take), the free-space total and the end of the file. Prints "ok" and the
// counts, or the first fault.
inline constexpr char kPstStructureChecker[] = R"(
import sys, struct, zlib
d = open(sys.argv[1], 'rb').read()
def crc(b): return (~zlib.crc32(b, 0xffffffff)) & 0xffffffff
def sig(ib, bid): return (((ib ^ bid) >> 16) ^ (ib ^ bid)) & 0xffff
def fail(text):
    print(text); sys.exit(0)
if crc(d[8:8 + 471]) != struct.unpack_from('<I', d, 4)[0]: fail('partial header CRC')
if crc(d[8:8 + 516]) != struct.unpack_from('<I', d, 524)[0]: fail('full header CRC')
eof, last_amap, amap_free = struct.unpack_from('<QQQ', d, 184)
nbt = struct.unpack_from('<QQ', d, 216)
bbt = struct.unpack_from('<QQ', d, 232)
if eof != len(d): fail('file end')
taken = {}
def take(ib, size, what):
    for slot in range(ib // 64, (ib + size + 63) // 64):
        if slot in taken: fail('overlap at %#x: %s and %s' % (slot * 64, taken[slot], what))
        taken[slot] = what
blocks = 0
def walk(bid, ib, ptype):
    global blocks
    cent, cmax, cb, level = d[ib + 488], d[ib + 489], d[ib + 490], d[ib + 491]
    t, t2, s, c, b = struct.unpack_from('<BBHIQ', d, ib + 496)
    if t != ptype or t2 != ptype or b != bid or c != crc(d[ib:ib + 496]) or s != sig(ib, bid):
        fail('B-tree page at %#x' % ib)
    take(ib, 512, 'page')
    for i in range(cent):
        e = ib + i * cb
        if level > 0:
            key, child, cib = struct.unpack_from('<QQQ', d, e)
            walk(child, cib, ptype)
        elif ptype == 0x80:
            bbid, bib, size, refs = struct.unpack_from('<QQHH', d, e)
            total = (size + 16 + 63) // 64 * 64
            tcb, tsig, tcrc, tbid = struct.unpack_from('<HHIQ', d, bib + total - 16)
            if tcb != size or tbid != bbid or tcrc != crc(d[bib:bib + size]) or tsig != sig(bib, bbid):
                fail('block %#x at %#x' % (bbid, bib))
            take(bib, total, 'block')
            blocks += 1
walk(nbt[0], nbt[1], 0x81)
walk(bbt[0], bbt[1], 0x80)
free = 0
maps = 0
ib = 0x4400
while ib < len(d):
    index = (ib - 0x4400) // 253952
    t, t2, s, c, b = struct.unpack_from('<BBHIQ', d, ib + 496)
    if t != 0x84 or c != crc(d[ib:ib + 496]) or b != ib: fail('allocation map at %#x' % ib)
    take(ib, 512, 'map')
    extra = ib + 512
    for kind, present in [(0x83, index % 8 == 0), (0x82, index >= 128 and (index - 128) % 496 == 0),
                          (0x85, index >= 8192 and (index - 8192) % 31744 == 0)]:
        if present:
            t, t2, s, c, b = struct.unpack_from('<BBHIQ', d, extra + 496)
            if t != kind or c != crc(d[extra:extra + 496]): fail('map page at %#x' % extra)
            take(extra, 512, 'map')
            extra += 512
    maps += 1
    ib += 253952
ib = 0x4400
while ib < len(d):
    bits = d[ib:ib + 496]
    for i in range(496 * 8):
        slot = ib // 64 + i
        set_ = bits[i // 8] & (0x80 >> (i % 8)) != 0
        if set_ != (slot in taken): fail('allocation bit of %#x' % (slot * 64))
        free += 0 if set_ else 64
    last = ib
    ib += 253952
if last != last_amap: fail('last allocation map')
if free != amap_free: fail('free total')
print('ok %d blocks %d maps' % (blocks, maps))
)";

}  // namespace velmor::test
