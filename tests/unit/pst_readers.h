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

}  // namespace velmor::test
