#pragma once

// A check of a personal-folders file against the rules of the file format's published
// description, written from that description's numbers and tables, not from the writer's
// constants. It reads the file as a reader that follows the description does:
// - the allocation map every 253,952 bytes from 0x4400, a page map after every 8th, a free
//   map after the 128th and every 496th after it, a free-page map after the 8,192nd and
//   every 31,744th after it (the header's maps cover the ranges before), and none elsewhere;
// - the density list: at most 119 entries, its padding zero, its BID a page BID below the
//   header's next page BID and its signature from its offset and BID;
// - every heap: the B-tree header at heap id 0x20 (of the properties, or of a table's row
//   index) and a table's own header right after it, at 0x40;
// - every table's row matrix: blocks of 8,176 bytes but the last, rows never across blocks,
//   row N found in block N / floor(8176 / row size) with the row id the row index gives;
// - the five table templates with exactly the columns the description lists, every table of
//   a folder with its template's columns;
// - every message with the properties the description makes mandatory, of their types;
// - attachments: the attachment table template (node 0x671) with exactly its columns; a
//   message's attachment table (its subnode 0x671) with at least them, a row per attachment
//   object subnode (NID type 0x05) and the row id that subnode's NID, its size, method and
//   rendering position those of the object; every attachment object with its mandatory
//   properties, by value (method 1) with its data (0x3701), its size at least the data's, data
//   of more than one block in a data tree of full blocks; a message with attachments with
//   MSGFLAG_HASATTACH (0x10) and PidTagHasAttachments, and one without neither;
// - the minimum folders: the root folder (node 0x122) holds exactly three folders, each a
//   folder object of a property context and hierarchy, contents and FAI contents tables, and
//   one of them is the empty "SPAM Search Folder 2" (no items, no unread items, no subfolders).
// Prints "ok" and counts, or the rules broken. Reads the file through mmap, so that it
// also checks files past 2 GiB.
namespace velmor::test {

inline constexpr char kPstRuleChecker[] = R"(
import sys, re, struct, mmap, zlib
f = open(sys.argv[1], 'rb')
d = mmap.mmap(f.fileno(), 0, access=mmap.ACCESS_READ)
faults = []
class Fault(Exception): pass
def fail(text):
    raise Fault(text)
def checked(step, *args):
    try:
        step(*args)
    except Fault as fault:
        faults.append(str(fault))
def crc(b):
    return (~zlib.crc32(b, 0xffffffff)) & 0xffffffff
def sig(ib, bid): return (((ib ^ bid) >> 16) ^ (ib ^ bid)) & 0xffff

PAGE = 512
PAGE_DATA = 496
AMAP_FIRST = 0x4400
AMAP_SPAN = 496 * 8 * 64
BLOCK_DATA = 8192 - 16
PMAP_EVERY = 8
FMAP_FIRST, FMAP_EVERY = 128, 496
FPMAP_FIRST, FPMAP_EVERY = 8192, 31744
DLIST_AT, DLIST_MAX = 0x4200, 476 // 4
# A heap's first allocation holds the B-tree header (of the properties, or of a table's row
# index); a table's own header is the next one.
HEADER_FIRST, TABLE_HEADER_SECOND = 0x20, 0x40

T_INT32, T_BOOL, T_INT64, T_STRING, T_TIME, T_BINARY, T_MV_INT32 = 3, 0xB, 0x14, 0x1F, 0x40, 0x102, 0x1003
ROW_ID, ROW_VER = (0x67F2, T_INT32), (0x67F3, T_INT32)
HIERARCHY = {(0x0E30, T_INT32), (0x0E33, T_INT64), (0x0E34, T_BINARY), (0x0E38, T_INT32),
    (0x3001, T_STRING), (0x3602, T_INT32), (0x3603, T_INT32), (0x360A, T_BOOL),
    (0x3613, T_STRING), (0x6635, T_INT32), (0x6636, T_INT32), ROW_ID, ROW_VER}
CONTENTS = {(0x0017, T_INT32), (0x001A, T_STRING), (0x0036, T_INT32), (0x0037, T_STRING),
    (0x0039, T_TIME), (0x0042, T_STRING), (0x0057, T_BOOL), (0x0058, T_BOOL),
    (0x0070, T_STRING), (0x0071, T_BINARY), (0x0E03, T_STRING), (0x0E04, T_STRING),
    (0x0E06, T_TIME), (0x0E07, T_INT32), (0x0E08, T_INT32), (0x0E17, T_INT32),
    (0x0E30, T_INT32), (0x0E33, T_INT64), (0x0E34, T_BINARY), (0x0E38, T_INT32),
    (0x0E3C, T_BINARY), (0x0E3D, T_BINARY), (0x1097, T_INT32), (0x3008, T_TIME),
    (0x65C6, T_INT32), ROW_ID, ROW_VER}
FAI = {(0x001A, T_STRING), (0x0E07, T_INT32), (0x0E17, T_INT32), (0x3001, T_STRING),
    (0x6800, T_STRING), (0x6803, T_BOOL), (0x6805, T_MV_INT32), (0x7003, T_INT32),
    (0x7004, T_BINARY), (0x7005, T_BINARY), (0x7006, T_STRING), (0x7007, T_INT32),
    ROW_ID, ROW_VER}
SEARCH_CONTENTS = {(0x0017, T_INT32), (0x001A, T_STRING), (0x0036, T_INT32), (0x0037, T_STRING),
    (0x0039, T_TIME), (0x0042, T_STRING), (0x0057, T_BOOL), (0x0058, T_BOOL),
    (0x0070, T_STRING), (0x0071, T_BINARY), (0x0E03, T_STRING), (0x0E04, T_STRING),
    (0x0E05, T_STRING), (0x0E06, T_TIME), (0x0E07, T_INT32), (0x0E08, T_INT32),
    (0x0E17, T_INT32), (0x0E2A, T_BOOL), (0x0E30, T_INT32), (0x0E33, T_INT64),
    (0x0E34, T_BINARY), (0x0E38, T_INT32), (0x0E3C, T_BINARY), (0x0E3D, T_BINARY),
    (0x1097, T_INT32), (0x3008, T_TIME), (0x65C6, T_INT32), (0x67F1, T_INT32), ROW_ID, ROW_VER}
ATTACHMENT_TABLE = {(0x0E20, T_INT32), (0x3704, T_STRING), (0x3705, T_INT32), (0x370B, T_INT32),
    ROW_ID, ROW_VER}
TEMPLATES = {0x60D: HIERARCHY, 0x60E: CONTENTS, 0x60F: FAI, 0x610: SEARCH_CONTENTS,
    0x671: ATTACHMENT_TABLE}
TABLES_BY_TYPE = {0x0D: HIERARCHY, 0x0E: CONTENTS, 0x0F: FAI, 0x10: SEARCH_CONTENTS}
MESSAGE = {(0x001A, T_STRING), (0x0E07, T_INT32), (0x0E08, T_INT32), (0x0E17, T_INT32),
    (0x3007, T_TIME), (0x3008, T_TIME), (0x300B, T_BINARY)}
ATTACHMENT = {(0x0E20, T_INT32), (0x3705, T_INT32), (0x370B, T_INT32)}
NID_ATTACHMENT_TABLE, NID_TYPE_ATTACHMENT = 0x671, 0x05
MESSAGE_FLAGS, MSGFLAG_HASATTACH, HAS_ATTACHMENTS = 0x0E07, 0x10, 0x0E1B
ATTACH_SIZE, ATTACH_METHOD, RENDERING_POSITION = 0x0E20, 0x3705, 0x370B
AF_BY_VALUE, ATTACH_DATA_BINARY = 1, 0x3701

def tags(pairs): return ' '.join('%04X:%04X' % p for p in sorted(pairs))

# The header and the B-trees.
bid_next_page = struct.unpack_from('<Q', d, 32)[0]
eof = struct.unpack_from('<Q', d, 184)[0]
nbt = struct.unpack_from('<QQ', d, 216)
bbt = struct.unpack_from('<QQ', d, 232)
page_bids = set()
blocks = {}
nodes = {}
def walk(bid, ib, ptype):
    cent, cb, level = d[ib + 488], d[ib + 490], d[ib + 491]
    page_bids.add(struct.unpack_from('<Q', d, ib + 504)[0])
    for i in range(cent):
        e = ib + i * cb
        if level > 0:
            key, child, cib = struct.unpack_from('<QQQ', d, e)
            walk(child, cib, ptype)
        elif ptype == 0x80:
            bbid, bib, size = struct.unpack_from('<QQH', d, e)
            blocks[bbid & ~1] = (bib, size)
        else:
            nid, bdata, bsub = struct.unpack_from('<QQQ', d, e)
            nodes[nid & 0xffffffff] = (bdata, bsub)
walk(nbt[0], nbt[1], 0x81)
walk(bbt[0], bbt[1], 0x80)

# The maps.
ranges = (eof - AMAP_FIRST) // AMAP_SPAN
counts = {0x83: 0, 0x82: 0, 0x85: 0}
def page_type(ib):
    t, t2, s, c, b = struct.unpack_from('<BBHIQ', d, ib + PAGE_DATA)
    return t if t == t2 and c == crc(d[ib:ib + PAGE_DATA]) else None
def check_range(r):
    ib = AMAP_FIRST + r * AMAP_SPAN
    if page_type(ib) != 0x84: fail('no allocation map at %#x' % ib)
    expected = []
    if r % PMAP_EVERY == 0: expected.append(0x83)
    if r >= FMAP_FIRST and (r - FMAP_FIRST) % FMAP_EVERY == 0: expected.append(0x82)
    if r >= FPMAP_FIRST and (r - FPMAP_FIRST) % FPMAP_EVERY == 0: expected.append(0x85)
    at = ib + PAGE
    for kind in expected:
        if page_type(at) != kind: fail('range %d: no map page %#x at %#x' % (r, kind, at))
        if struct.unpack_from('<Q', d, at + 504)[0] != at: fail('map page BID at %#x' % at)
        counts[kind] += 1
        at += PAGE
    if page_type(at) in (0x82, 0x83, 0x85):
        fail('range %d: a map page %#x where none belongs, at %#x' % (r, page_type(at), at))

for r in range(ranges):
    checked(check_range, r)

# The density list.
def check_density_list():
    if page_type(DLIST_AT) != 0x86: fail('no density list')
    entries = d[DLIST_AT + 1]
    if entries > DLIST_MAX: fail('density list of %d entries' % entries)
    if any(d[DLIST_AT + 8 + 476:DLIST_AT + PAGE_DATA]): fail('density list padding not zero')
    dbid = struct.unpack_from('<Q', d, DLIST_AT + 504)[0]
    dsig = struct.unpack_from('<H', d, DLIST_AT + 498)[0]
    if dbid == DLIST_AT or dbid >= bid_next_page or dbid in page_bids or dbid % 4 != 0:
        fail('density list BID %#x' % dbid)
    if dsig != sig(DLIST_AT, dbid): fail('density list signature')

checked(check_density_list)

# Nodes: data blocks, subnodes and heaps.
def block(bid):
    ib, size = blocks[bid & ~1]
    return d[ib:ib + size]
def data_blocks(bid):
    if bid == 0: return []
    b = block(bid)
    if bid & 2 == 0: return [b]
    btype, level, cent = struct.unpack_from('<BBH', b, 0)
    out = []
    for i in range(cent):
        out += data_blocks(struct.unpack_from('<Q', b, 8 + 8 * i)[0])
    return out
def subnodes(bid):
    out = {}
    if bid == 0: return out
    b = block(bid)
    btype, level, cent = struct.unpack_from('<BBH', b, 0)
    for i in range(cent):
        if level == 0:
            nid, bdata, bsub = struct.unpack_from('<QQQ', b, 8 + 24 * i)
            out[nid & 0xffffffff] = (bdata, bsub)
        else:
            out.update(subnodes(struct.unpack_from('<Q', b, 8 + 16 * i + 8)[0]))
    return out
def allocation(heap, hid):
    b = heap[hid >> 16]
    index = (hid >> 5) & 0x7ff
    pm = struct.unpack_from('<H', b, 0)[0]
    calloc = struct.unpack_from('<H', b, pm)[0]
    if index < 1 or index > calloc: fail('heap id %#x' % hid)
    start, end = struct.unpack_from('<HH', b, pm + 4 + 2 * (index - 1))
    return b[start:end]
def bth(heap, hid):
    h = allocation(heap, hid)
    btype, key, ent, levels, root = struct.unpack_from('<BBBBI', h, 0)
    if btype != 0xB5: fail('B-tree header at %#x' % hid)
    records = []
    def down(hid, level):
        a = allocation(heap, hid)
        step = key + (ent if level == 0 else 4)
        for i in range(0, len(a), step):
            if level == 0: records.append(a[i:i + step])
            else: down(struct.unpack_from('<I', a, i + key)[0], level - 1)
    if root: down(root, levels)
    return records, key

def table(nid, heap, subs, root):
    info = allocation(heap, root)
    btype, ccols = info[0], info[1]
    if btype != 0x7C: fail('node %#x: no table header' % nid)
    row_size = struct.unpack_from('<H', info, 8)[0]
    hid_index, hnid_rows = struct.unpack_from('<II', info, 10)
    cols = {}
    for i in range(ccols):
        tag, ib, cb, bit = struct.unpack_from('<IHBB', info, 22 + 8 * i)
        cols[(tag >> 16, tag & 0xffff)] = ib
    if hid_index != HEADER_FIRST:
        faults.append('node %#x: row index header at %#x, not %#x' % (nid, hid_index, HEADER_FIRST))
    records, key = bth(heap, hid_index)
    if hnid_rows == 0: parts = []
    elif hnid_rows & 0x1f == 0: parts = [allocation(heap, hnid_rows)]
    else: parts = data_blocks(subs[hnid_rows][0])
    per_block = BLOCK_DATA // row_size
    for i, part in enumerate(parts[:-1]):
        if len(part) != BLOCK_DATA: fail('node %#x: row block %d of %d bytes' % (nid, i, len(part)))
    if parts and len(parts[-1]) % row_size: fail('node %#x: last row block cut' % nid)
    rows = (len(parts) - 1) * per_block + len(parts[-1]) // row_size if parts else 0
    if rows != len(records): fail('node %#x: %d rows, %d in the row index' % (nid, rows, len(records)))
    for r in records:
        row_id, n = struct.unpack_from('<II', r, 0)
        if n >= rows: fail('node %#x: row index names row %d of %d' % (nid, n, rows))
        part, at = parts[n // per_block], (n % per_block) * row_size
        if struct.unpack_from('<I', part, at + cols[ROW_ID])[0] != row_id:
            fail('node %#x: row %d is not where the row index puts it' % (nid, n))
    return set(cols)

# A table's rows as dicts of (property id, type) to the cell's bytes, cells that exist only.
def table_rows(heap, subs):
    info = allocation(heap, struct.unpack_from('<I', heap[0], 4)[0])
    ccols = info[1]
    bitmap, row_size = struct.unpack_from('<HH', info, 6)
    hnid_rows = struct.unpack_from('<I', info, 14)[0]
    cols = []
    for i in range(ccols):
        tag, ib, cb, bit = struct.unpack_from('<IHBB', info, 22 + 8 * i)
        cols.append(((tag >> 16, tag & 0xffff), ib, cb, bit))
    if hnid_rows == 0: parts = []
    elif hnid_rows & 0x1f == 0: parts = [allocation(heap, hnid_rows)]
    else: parts = data_blocks(subs[hnid_rows][0])
    per_block = BLOCK_DATA // row_size
    rows = []
    for part in parts:
        for at in range(0, len(part) // row_size * row_size, row_size):
            row = part[at:at + row_size]
            rows.append({key: row[ib:ib + cb] for key, ib, cb, bit in cols
                         if row[bitmap + bit // 8] & (0x80 >> (bit % 8))})
    return rows
# A property context's values: (property id, type) to the 4-byte cell.
def pc_cells(heap):
    records, key = bth(heap, struct.unpack_from('<I', heap[0], 4)[0])
    return {struct.unpack_from('<HH', r, 0): struct.unpack_from('<I', r, 4)[0] for r in records}
# A variable-size value by its cell: in the heap, or in a subnode as a data tree.
def pc_value(heap, subs, cell):
    if cell == 0: return b''
    if cell & 0x1f == 0: return allocation(heap, cell)
    parts = data_blocks(subs[cell][0])
    for i, part in enumerate(parts[:-1]):
        if len(part) != BLOCK_DATA: fail('value %#x: data block %d of %d bytes' % (cell, i, len(part)))
    return b''.join(parts)
def u32(cell_bytes): return struct.unpack('<I', cell_bytes)[0]

def check_attachments(nid, props, subs):
    objects = {sub for sub in subs if sub & 0x1f == NID_TYPE_ATTACHMENT}
    flags = props.get((MESSAGE_FLAGS, T_INT32), 0)
    if NID_ATTACHMENT_TABLE not in subs:
        if objects: fail('message %#x: attachment objects without an attachment table' % nid)
        if flags & MSGFLAG_HASATTACH: fail('message %#x: MSGFLAG_HASATTACH without attachments' % nid)
        return
    heap = data_blocks(subs[NID_ATTACHMENT_TABLE][0])
    table_subs = subnodes(subs[NID_ATTACHMENT_TABLE][1])
    cols = table(NID_ATTACHMENT_TABLE, heap, table_subs, struct.unpack_from('<I', heap[0], 4)[0])
    if not ATTACHMENT_TABLE <= cols:
        fail('message %#x: attachment table without %s' % (nid, tags(ATTACHMENT_TABLE - cols)))
    rows = table_rows(heap, table_subs)
    row_ids = {u32(row[ROW_ID]) for row in rows}
    if row_ids != objects or len(rows) != len(objects):
        fail('message %#x: %d attachment rows, %d attachment objects' % (nid, len(rows), len(objects)))
    if rows and not flags & MSGFLAG_HASATTACH: fail('message %#x: no MSGFLAG_HASATTACH' % nid)
    if rows and props.get((HAS_ATTACHMENTS, T_BOOL), 0) & 0xff != 1:
        fail('message %#x: PidTagHasAttachments not set' % nid)
    for row in rows:
        attachment = u32(row[ROW_ID])
        pc_heap = data_blocks(subs[attachment][0])
        pc_subs = subnodes(subs[attachment][1])
        cells = pc_cells(pc_heap)
        if not ATTACHMENT <= set(cells):
            fail('attachment %#x: missing %s' % (attachment, tags(ATTACHMENT - set(cells))))
        for pid in (ATTACH_SIZE, ATTACH_METHOD, RENDERING_POSITION):
            if (pid, T_INT32) in row and u32(row[(pid, T_INT32)]) != cells[(pid, T_INT32)]:
                fail('attachment %#x: %04X is %d in the table, %d in the object' % (
                    attachment, pid, u32(row[(pid, T_INT32)]), cells[(pid, T_INT32)]))
        if cells[(ATTACH_METHOD, T_INT32)] != AF_BY_VALUE:
            fail('attachment %#x: method %d' % (attachment, cells[(ATTACH_METHOD, T_INT32)]))
        if (ATTACH_DATA_BINARY, T_BINARY) not in cells:
            fail('attachment %#x: by value without data' % attachment)
        data = pc_value(pc_heap, pc_subs, cells[(ATTACH_DATA_BINARY, T_BINARY)])
        if cells[(ATTACH_SIZE, T_INT32)] < len(data):
            fail('attachment %#x: size %d below its %d bytes of data' % (
                attachment, cells[(ATTACH_SIZE, T_INT32)], len(data)))
        seen['attachments'] += 1

seen = {'tables': 0, 'messages': 0, 'attachments': 0}
def check_node(nid, bdata, bsub):
    parts = data_blocks(bdata)
    if not parts or len(parts[0]) < 12 or parts[0][2] != 0xEC: return
    client = parts[0][3]
    root = struct.unpack_from('<I', parts[0], 4)[0]
    first = HEADER_FIRST if client == 0xBC else TABLE_HEADER_SECOND
    if root != first: faults.append('node %#x: heap root %#x, not %#x' % (nid, root, first))
    if client == 0x7C:
        cols = table(nid, parts, subnodes(bsub), root)
        seen['tables'] += 1
        want = TEMPLATES.get(nid)
        if want is not None and cols != want:
            fail('template %#x: extra %s, missing %s' % (nid, tags(cols - want), tags(want - cols)))
        want = TABLES_BY_TYPE.get(nid & 0x1f)
        if want is not None and not want <= cols:
            fail('table %#x: missing %s' % (nid, tags(want - cols)))
    elif client == 0xBC:
        records, key = bth(parts, root)
        if nid & 0x1f == 0x04:
            props = {struct.unpack_from('<HH', r, 0) for r in records}
            if not MESSAGE <= props: fail('message %#x: missing %s' % (nid, tags(MESSAGE - props)))
            seen['messages'] += 1
            check_attachments(nid, pc_cells(parts), subnodes(bsub))
for nid, (bdata, bsub) in sorted(nodes.items()):
    checked(check_node, nid, bdata, bsub)

ROOT_FOLDER, ROOT_SUBFOLDERS, SPAM_NAME = 0x122, 3, 'SPAM Search Folder 2'
HIERARCHY_TABLE, CONTENTS_TABLE, FAI_TABLE = 0x0D, 0x0E, 0x0F
EMPTY_FOLDER = {0x3602: 0, 0x3603: 0, 0x360A: 0}
def heap_of(nid):
    parts = data_blocks(nodes[nid][0])
    return parts, struct.unpack_from('<I', parts[0], 4)[0]
def pc_values(nid):
    parts, root = heap_of(nid)
    records, key = bth(parts, root)
    out = {}
    for r in records:
        pid, ptype, value = struct.unpack_from('<HHI', r, 0)
        if ptype == T_STRING:
            out[pid] = allocation(parts, value).decode('utf-16-le') if value else ''
        else:
            out[pid] = value
    return out
def row_ids(nid):
    parts, root = heap_of(nid)
    records, key = bth(parts, struct.unpack_from('<I', allocation(parts, root), 10)[0])
    return [struct.unpack_from('<I', r, 0)[0] for r in records]
def folder_table(folder, table_type): return (folder & ~0x1f) | table_type
def check_minimum_folders():
    children = row_ids(folder_table(ROOT_FOLDER, HIERARCHY_TABLE))
    if len(children) != ROOT_SUBFOLDERS:
        fail('root folder: %d subfolders, not %d' % (len(children), ROOT_SUBFOLDERS))
    for child in children:
        for table_type in (HIERARCHY_TABLE, CONTENTS_TABLE, FAI_TABLE):
            if child not in nodes or folder_table(child, table_type) not in nodes:
                fail('folder %#x: no node %#x' % (child, folder_table(child, table_type)))
    spam = [child for child in children if pc_values(child).get(0x3001) == SPAM_NAME]
    if len(spam) != 1: fail('root folder: no folder %s' % SPAM_NAME)
    values = pc_values(spam[0])
    for pid, want in EMPTY_FOLDER.items():
        if values.get(pid) != want: fail('%s: %04X is %s, not %d' % (SPAM_NAME, pid, values.get(pid), want))
    for table_type in (HIERARCHY_TABLE, CONTENTS_TABLE, FAI_TABLE):
        if row_ids(folder_table(spam[0], table_type)):
            fail('%s: rows in table %#x' % (SPAM_NAME, folder_table(spam[0], table_type)))
checked(check_minimum_folders)
faults += ['no template %#x' % t for t in TEMPLATES if t not in nodes]
if faults:
    kinds = {}
    for f in faults:
        kinds.setdefault(re.sub(r'\b(0x[0-9a-f]+|\d+)\b', '#', f), [0, f])[0] += 1
    for count, example in kinds.values():
        print('%s (%d times)' % (example, count))
else:
    print('ok %d tables %d messages %d attachments %d page maps %d free maps %d free-page maps '
          '%d ranges' % (seen['tables'], seen['messages'], seen['attachments'], counts[0x83],
          counts[0x82], counts[0x85], ranges))
)";

}  // namespace velmor::test
