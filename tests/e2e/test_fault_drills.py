"""Fault drills on the real program: 'S' over the Mandelbrot view in working directories
that refuse the file, cannot be listed, hold files, links and directories under the
names the program tries, or sit on a full file system (a file-size limit). In every
drill every entry that was there stays as it was (content, mode, mtime; a link's target
too), no short file is left, the program keeps running and Escape ends it with status 0.

Permissions do not stop root, so the program runs as nobody; the test runs as root to
start it so and to look into the directories it could not."""

import os
import resource
import shutil
import signal
import stat
import tempfile
import unittest

import harness

VIEW = 500  # the start size of each view
SNAPSHOT_SIZE = 18 + 3 * VIEW * VIEW
NAME_TRIES = 100  # the program tries this many names from the next number on
FILE_SIZE_LIMIT = 100000  # well under SNAPSHOT_SIZE
USER = 'nobody'

OPEN, UNWRITABLE, UNLISTABLE, SEARCH_ONLY = 0o777, 0o555, 0o333, 0o111


def expected_snapshot():
    """The file of the start Mandelbrot view: header, then blue, green, red from the
    top row down."""
    image = harness.start_view_image('mandel', VIEW, VIEW)
    header = bytes([0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                    VIEW & 255, VIEW >> 8, VIEW & 255, VIEW >> 8, 24, 0x20])
    body = bytearray(len(image.pixels))
    body[0::3] = image.pixels[2::3]
    body[1::3] = image.pixels[1::3]
    body[2::3] = image.pixels[0::3]
    return header + bytes(body)


def fingerprint(path):
    """What must not change about an entry, without following a link."""
    st = os.lstat(path)
    if stat.S_ISLNK(st.st_mode):
        content = ('link', os.readlink(path))
    elif stat.S_ISDIR(st.st_mode):
        return ('dir', st.st_mode)  # its mtime moves when the program adds a file
    else:
        with open(path, 'rb') as f:
            content = ('file', f.read())
    return (st.st_mode, st.st_size, st.st_mtime_ns, content)


def tree_state(root):
    """{path relative to root: fingerprint} for every entry below root."""
    state = {}
    for directory, subdirs, files in os.walk(root):
        for name in subdirs + files:
            path = os.path.join(directory, name)
            state[os.path.relpath(path, root)] = fingerprint(path)
    return state


def put_file(path, text, mode=0o666):
    # Writable by anyone, so only the exclusive creation keeps the program off it.
    with open(path, 'w') as f:
        f.write(text)
    os.chmod(path, mode)


def limit_file_size():
    # Runs in the program's process before exec; an ignored signal stays ignored
    # across exec, so a write past the limit fails with EFBIG instead of killing it.
    resource.setrlimit(resource.RLIMIT_FSIZE, (FILE_SIZE_LIMIT, FILE_SIZE_LIMIT))
    signal.signal(signal.SIGXFSZ, signal.SIG_IGN)


# Each populate function fills the working directory (work) and a directory outside
# it (outside, writable by anyone, so that only the exclusive creation protects what
# a link there points to).

def one_file(work, outside):
    put_file(os.path.join(work, 'frac005.tga'), 'an earlier snapshot')


def file_first(work, outside):
    put_file(os.path.join(work, 'frac001.tga'), 'an earlier snapshot')
    # Unlisted it is not seen; a listing would have chosen frac051.tga.
    put_file(os.path.join(work, 'frac050.tga'), 'a later snapshot')


def link_first(work, outside):
    put_file(os.path.join(outside, 'target'), 'a file outside')
    os.symlink(os.path.join(outside, 'target'), os.path.join(work, 'frac001.tga'))
    put_file(os.path.join(work, 'frac050.tga'), 'a later snapshot')


def dangling_link_first(work, outside):
    os.symlink(os.path.join(outside, 'absent'), os.path.join(work, 'frac001.tga'))
    put_file(os.path.join(work, 'frac050.tga'), 'a later snapshot')


def run_of_taken_names(work, outside):
    put_file(os.path.join(outside, 'target'), 'a file outside')
    put_file(os.path.join(work, 'frac001.tga'), 'an earlier snapshot')
    os.symlink(os.path.join(outside, 'target'), os.path.join(work, 'frac002.tga'))
    os.symlink(os.path.join(outside, 'absent'), os.path.join(work, 'frac003.tga'))
    os.mkdir(os.path.join(work, 'frac004.tga'))
    os.chmod(os.path.join(work, 'frac004.tga'), 0o777)
    put_file(os.path.join(work, 'frac005.tga'), 'unreadable', mode=0o000)


def every_name_taken(work, outside):
    for number in range(1, NAME_TRIES + 1):
        put_file(os.path.join(work, 'frac%03d.tga' % number), 'snapshot %d' % number)


def existing_snapshot(work, outside):
    put_file(os.path.join(work, 'frac001.tga'), 'an earlier snapshot')
    put_file(os.path.join(work, 'frac007.tga'), 'a later snapshot')


@unittest.skipUnless(os.geteuid() == 0, 'starts the program as nobody, which needs root')
class FaultDrillTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.expected = expected_snapshot()
        # A copy the other user can reach whatever the build directory's permissions.
        cls.bin_dir = tempfile.mkdtemp(prefix='mandeljulia-drill-bin-')
        os.chmod(cls.bin_dir, 0o755)
        cls.program = os.path.join(cls.bin_dir, 'mandeljulia')
        shutil.copy(os.environ['MANDELJULIA'], cls.program)
        os.chmod(cls.program, 0o755)

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.bin_dir, ignore_errors=True)

    def setUp(self):
        self.base = tempfile.mkdtemp(prefix='mandeljulia-drill-')
        os.chmod(self.base, 0o755)
        self.work = os.path.join(self.base, 'work')
        self.outside = os.path.join(self.base, 'outside')
        os.mkdir(self.work)
        os.mkdir(self.outside)
        os.chmod(self.outside, 0o777)

    def tearDown(self):
        for directory, subdirs, _ in os.walk(self.base):
            for name in subdirs:
                path = os.path.join(directory, name)
                if not os.path.islink(path):
                    os.chmod(path, 0o755)
        shutil.rmtree(self.base, ignore_errors=True)

    def snapshot(self, s):
        """'S' over the Mandelbrot view, then 'I': once the overlay toggles, the key
        before it has been handled (the program reports nothing of a snapshot)."""
        s.move('mandel')
        before = s.window_image('mandel')
        s.key('s', 'i')
        s.wait_for(lambda: s.window_image('mandel').pixels != before.pixels,
                   what='the info overlay to toggle after S')

    def drill(self, populate, mode, expect, snapshots=1, setup=None, check=None):
        """Runs the program in a working directory filled by populate and then given
        mode, presses S `snapshots` times, and checks that the only change below the
        sandbox is the file expect (a name in the working directory, or None).
        check(session) looks at the running program first."""
        populate(self.work, self.outside)
        os.chmod(self.work, mode)
        before = tree_state(self.base)
        with harness.Session(program=self.program, cwd=self.work, user=USER,
                             setup=setup) as s:
            status = self.proc_status(s)
            self.assertNotEqual(status['Uid'].split()[1], '0', 'the program runs as root')
            if check is not None:
                check(s)
            for _ in range(snapshots):
                self.snapshot(s)
            after = tree_state(self.base)
            self.assertTrue(s.running(), s.stderr_text())
            s.key('Escape', over='mandel')
            self.assertEqual(s.wait_exit(), 0, s.stderr_text())

        changed = sorted(k for k in before if before[k] != after.get(k))
        created = sorted(k for k in after if k not in before)
        self.assertEqual(changed, [], 'existing entries changed or went')
        want = [] if expect is None else [os.path.join('work', expect)]
        self.assertEqual(created, want)
        if expect is not None:
            with open(os.path.join(self.work, expect), 'rb') as f:
                data = f.read()
            self.assertEqual(len(data), SNAPSHOT_SIZE)
            self.assertTrue(data == self.expected, 'the snapshot differs from the view')

    @staticmethod
    def proc_status(s):
        with open('/proc/%d/status' % s.process.pid) as f:
            return dict(line.split(':', 1) for line in f if ':' in line)

    def test_permission_drills(self):
        cases = [
            ('unwritable directory', one_file, UNWRITABLE, None),
            ('unlisted, a file under the first name', file_first, UNLISTABLE, 'frac002.tga'),
            ('unlisted, a link under the first name', link_first, UNLISTABLE, 'frac002.tga'),
            ('unlisted, a dangling link under the first name', dangling_link_first,
             UNLISTABLE, 'frac002.tga'),
            ('unlisted, file, links, directory, unreadable file', run_of_taken_names,
             UNLISTABLE, 'frac006.tga'),
            ('unlisted, every name tried is taken', every_name_taken, UNLISTABLE, None),
            ('unlisted and unwritable', file_first, SEARCH_ONLY, None),
        ]
        for what, populate, mode, expect in cases:
            with self.subTest(what):
                try:
                    self.drill(populate, mode, expect)
                finally:
                    self.tearDown()
                    self.setUp()

    def test_full_file_system(self):
        def limits_applied(s):
            with open('/proc/%d/limits' % s.process.pid) as f:
                line = next(l for l in f if l.startswith('Max file size'))
            self.assertEqual(line.split()[3:5], [str(FILE_SIZE_LIMIT)] * 2)
            ignored = int(self.proc_status(s)['SigIgn'].strip(), 16)
            self.assertTrue(ignored & (1 << (signal.SIGXFSZ - 1)), 'SIGXFSZ not ignored')
        # Two snapshots: the second finds the same free name as the first.
        self.drill(existing_snapshot, OPEN, None, snapshots=2, setup=limit_file_size,
                   check=limits_applied)


if __name__ == '__main__':
    unittest.main()
