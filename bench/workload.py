"""Seeded workload for the fs5 shell.

The generator keeps a model of the image: every folder and file with its owner and its
datablock count, and the number of used i-nodes and datablocks. From it, it knows before
each command what the shell will ask for (a confirmation key, a password, typed text up to
Escape, a wait for Enter) and whether an allocation will succeed, so the input it writes
never falls out of step with the dialogue. It also predicts what the run must show: the
number of prompts, a few message counts and the final counts that fs5ck prints.

Everything random comes from one 64-bit generator (splitmix64) seeded by the caller, so the
same seed gives the same bytes on every Python 3.
"""

INODES = 100
BLOCKS = 1000
BLOCK_SIZE = 100
MAX_DEPTH = 8
MAX_TEXT = 9999
FOLDER_RIGHTS = 0x1ED
FILE_RIGHTS = 0x1A4

STANDARD_FOLDERS = ["bin", "boot", "dev", "etc", "home", "initrd", "lib", "lost+found",
                    "misc", "mnt", "opt", "proc", "root", "sbin", "tmp", "usr", "var"]
USERS = ["anna", "ben", "cleo", "dan", "eve"]
ROOT_PASSWORD = "rootpw1"
ESC = "\x1b"


class Random:
    """splitmix64: small, fast enough, and the same on every platform."""

    def __init__(self, seed):
        self.state = seed & 0xFFFFFFFFFFFFFFFF

    def next64(self):
        self.state = (self.state + 0x9E3779B97F4A7C15) & 0xFFFFFFFFFFFFFFFF
        z = self.state
        z = ((z ^ (z >> 30)) * 0xBF58476D1CE4E5B9) & 0xFFFFFFFFFFFFFFFF
        z = ((z ^ (z >> 27)) * 0x94D049BB133111EB) & 0xFFFFFFFFFFFFFFFF
        return z ^ (z >> 31)

    def below(self, n):
        return self.next64() % n

    def between(self, lo, hi):
        return lo + self.below(hi - lo + 1)

    def chance(self, p):
        return self.below(1000000) < int(p * 1000000)

    def pick(self, items):
        return items[self.below(len(items))]

    def weighted(self, table):
        total = sum(w for w, _ in table)
        r = self.below(total)
        for w, item in table:
            if r < w:
                return item
            r -= w
        return table[-1][1]


def folder_blocks(children):
    """Datablocks of a folder with `children` entries besides ".." and "."."""
    return (children + 2 + 2) // 3


def file_blocks(length):
    """Datablocks of a file of `length` typed characters (the end mark included)."""
    return (length + 1 + BLOCK_SIZE - 1) // BLOCK_SIZE


class Node:
    def __init__(self, name, folder, owner, parent):
        self.name = name
        self.folder = folder
        self.owner = owner
        self.parent = parent
        self.children = {}
        self.blocks = 1
        self.length = 0

    def path(self):
        if self.parent is None:
            return "/"
        names = []
        n = self
        while n.parent is not None:
            names.append(n.name)
            n = n.parent
        return "/" + "/".join(reversed(names))

    def depth(self):
        d, n = 0, self
        while n.parent is not None:
            d, n = d + 1, n.parent
        return d

    def height(self):
        """Levels below this node (0 for a file or an empty folder)."""
        return max((1 + c.height() for c in self.children.values()), default=0)

    def walk(self):
        yield self
        for c in list(self.children.values()):
            yield from c.walk()

    def inodes(self):
        return sum(1 for _ in self.walk())

    def used_blocks(self):
        return sum(folder_blocks(len(n.children)) if n.folder else n.blocks for n in self.walk())

    def is_inside(self, other):
        n = self
        while n is not None:
            if n is other:
                return True
            n = n.parent
        return False


class Image:
    """The model of the image: the tree, the users and the used counts."""

    def __init__(self):
        self.format()

    def format(self):
        self.root = Node("", True, 0, None)
        self.inodes = 1
        self.blocks = 1
        for name in STANDARD_FOLDERS:
            self.add(self.root, name, True, 0)
        self.add(self.find("/etc"), "passwd", True, 0)
        self.add(self.find("/etc/passwd"), "root", False, 0)
        self.accounts = {"root": 0}
        self.numbers = {0}

    def find(self, path):
        n = self.root
        for part in [p for p in path.split("/") if p]:
            n = n.children.get(part)
            if n is None:
                return None
        return n

    def free_inodes(self):
        return INODES - self.inodes

    def free_blocks(self):
        return BLOCKS - self.blocks

    @staticmethod
    def growth(folder):
        return folder_blocks(len(folder.children) + 1) - folder_blocks(len(folder.children))

    def can_create(self, parent):
        return self.free_inodes() >= 1 and self.free_blocks() >= 1 + self.growth(parent)

    def add(self, parent, name, folder, owner):
        self.blocks += self.growth(parent) + 1
        self.inodes += 1
        node = Node(name, folder, owner, parent)
        parent.children[name] = node
        return node

    def detach(self, node):
        parent = node.parent
        before = folder_blocks(len(parent.children))
        del parent.children[node.name]
        self.blocks -= before - folder_blocks(len(parent.children))

    def remove(self, node):
        self.inodes -= node.inodes()
        self.blocks -= node.used_blocks()
        self.detach(node)

    def set_length(self, node, length):
        """Content of `length` characters; False (file erased) when the blocks run out."""
        self.blocks -= node.blocks - 1
        node.blocks, node.length = 1, 0
        need = file_blocks(length) - 1
        if need > self.free_blocks():
            return False
        self.blocks += need
        node.blocks, node.length = need + 1, length
        return True

    def copy_tree_cost(self, node):
        return node.inodes(), node.used_blocks()


class Session:
    """Writes the input and counts what the run must show."""

    def __init__(self, image, rng, use_mv):
        self.image = image
        self.rng = rng
        self.use_mv = use_mv
        self.parts = []
        self.prompts = 0
        self.commands = 0
        self.kinds = {}
        self.expect = {"created": 0, "not saved": 0, "no inodes": 0, "no blocks": 0,
                       "access denied": 0}
        self.user = None
        self.serial = 0
        base = []
        while len(base) < MAX_TEXT + 4000:
            word = "".join(chr(97 + rng.below(26)) for _ in range(rng.between(1, 9)))
            base.append(word)
            base.append("\n" if rng.chance(0.12) else " ")
        self.base_text = "".join(base)

    # input pieces ---------------------------------------------------------------------
    def raw(self, text):
        self.parts.append(text)

    def command(self, line, kind=None):
        """One command line at the prompt."""
        self.raw(line + "\n")
        self.prompts += 1
        if line.strip():
            self.commands += 1
            k = kind or line.split()[0]
            self.kinds[k] = self.kinds.get(k, 0) + 1

    def leftover_line(self):
        """The end of line a word or text read leaves behind: read as an empty command."""
        self.prompts += 1

    def key(self, text=""):
        self.raw(text + "\n")

    def text(self, length):
        off = self.rng.below(len(self.base_text) - length)
        body = self.base_text[off:off + length]
        self.raw(body + ESC + "\n")

    def new_name(self, prefix):
        self.serial += 1
        return "%s%d" % (prefix, self.serial)

    # the dialogue ---------------------------------------------------------------------
    def start(self):
        """The first start on a missing image formats it and asks the superuser password."""
        self.raw(ROOT_PASSWORD + "\n")
        self.key()
        self.expect["created"] += 19

    def login(self, name):
        password = ROOT_PASSWORD if name == "root" else "pw-" + name
        self.raw(name + "\n" + password + "\n")
        self.leftover_line()
        self.user = self.image.accounts[name]
        self.user_name = name

    def logout(self):
        self.command("reenter")

    def exit(self):
        self.command("exit")

    def home(self):
        return "/root" if self.user_name == "root" else "/home/" + self.user_name

    # commands -------------------------------------------------------------------------
    def mkfs(self):
        self.command("mkfs")
        self.key()
        self.raw(ROOT_PASSWORD + "\n")
        self.key()
        self.leftover_line()
        self.image.format()
        self.expect["created"] += 19

    def create(self, parent, name, folder):
        """mkdir or vi: the model node, or None when the image has no room."""
        self.command(("mkdir " if folder else "vi ") + parent.path().rstrip("/") + "/" + name,
                     "mkdir" if folder else "vi")
        self.key()
        img = self.image
        if img.free_inodes() < 1:
            self.expect["no inodes"] += 1
            return None
        if not img.can_create(parent):
            self.expect["no blocks"] += 1
            return None
        self.expect["created"] += 1
        return img.add(parent, name, folder, self.user)

    def write(self, node, length):
        self.command("vi -i " + node.path(), "vi -i")
        self.text(length)
        self.key()
        self.leftover_line()
        if not self.image.set_length(node, length):
            self.expect["no blocks"] += 1
            self.expect["not saved"] += 1

    def ls(self, folder, long_form=True):
        self.command(("ls -l " if long_form else "ls ") + folder.path(),
                     "ls -l" if long_form else "ls")
        self.key()

    def cat(self, node):
        self.command("cat " + node.path())
        self.key()

    def cd(self, folder):
        self.command("cd " + folder.path())

    def cd_home(self):
        self.command("cd")

    def chmod(self, node, rights):
        self.command("chmod %s %s" % (rights, node.path()))
        self.key()

    def rm(self, node):
        self.command("rm " + node.path())
        self.key()
        self.key()
        self.image.remove(node)

    def rmdir(self, node):
        self.command("rmdir " + node.path())
        self.key()
        self.key()
        self.image.remove(node)

    def cp(self, source, folder):
        """cp source folder: replaces a file of that name or makes one."""
        self.command("cp %s %s" % (source.path(), folder.path()))
        self.key()
        img = self.image
        target = folder.children.get(source.name)
        if target is None:
            if img.free_inodes() < 1:
                self.expect["no inodes"] += 1
                return
            if not img.can_create(folder):
                self.expect["no blocks"] += 1
                return
            target = img.add(folder, source.name, False, source.owner)
        target.owner = source.owner
        img.blocks -= target.blocks - 1
        target.blocks, target.length = 1, 0
        if source.blocks - 1 > img.free_blocks():
            self.expect["no blocks"] += 1
            return
        img.blocks += source.blocks - 1
        target.blocks, target.length = source.blocks, source.length

    def cp_tree(self, source, folder):
        """cp -R, only issued when the whole tree fits."""
        self.command("cp -R %s %s" % (source.path(), folder.path()), "cp -R")
        self.key()
        img = self.image
        copy = img.add(folder, source.name, True, source.owner)
        self._copy_children(source, copy)

    def _copy_children(self, source, copy):
        for child in list(source.children.values()):
            made = self.image.add(copy, child.name, child.folder, child.owner)
            if child.folder:
                self._copy_children(child, made)
            else:
                self.image.blocks += child.blocks - 1
                made.blocks, made.length = child.blocks, child.length

    def mv(self, node, folder, new_name=None):
        """mv into a folder without that name, or a rename to a new name; only when it fits."""
        target = folder.path().rstrip("/") + ("/" + new_name if new_name else "")
        self.command("mv %s %s" % (node.path(), target or "/"))
        self.key()
        img = self.image
        old = node.parent
        img.blocks += img.growth(folder)
        before = len(old.children) + (1 if old is folder else 0)
        del old.children[node.name]
        img.blocks -= folder_blocks(before) - folder_blocks(before - 1)
        node.name = new_name or node.name
        node.parent = folder
        folder.children[node.name] = node

    def adduser(self, name):
        self.command("adduser " + name)
        self.raw("pw-" + name + "\n")
        self.key()
        self.leftover_line()
        img = self.image
        img.add(img.find("/etc/passwd"), name, False, 0)
        number = min(n for n in range(1, 100) if n not in img.numbers)
        img.numbers.add(number)
        img.accounts[name] = number
        img.add(img.find("/home"), name, True, number)

    def deluser(self, name):
        self.command("deluser " + name)
        self.key()
        img = self.image
        img.remove(img.find("/etc/passwd/" + name))
        img.remove(img.find("/home/" + name))
        number = img.accounts.pop(name)
        img.numbers.discard(number)
        for n in img.root.walk():
            if n.owner == number:
                n.owner = 0

    def denied(self, folder):
        """An ordinary user making a folder where only root may write."""
        self.command("mkdir %s/%s" % (folder.path().rstrip("/"), self.new_name("x")), "mkdir")
        self.key()
        self.expect["access denied"] += 1


def text_length(rng):
    return rng.weighted([(50, (1, 200)), (30, (201, 2000)), (20, (2001, MAX_TEXT))])


def random_length(rng):
    lo, hi = text_length(rng)
    return rng.between(lo, hi)


class Workload:
    """The benchmark session: rounds of format, users, work, fill and empty."""

    def __init__(self, seed=1, target=5000, use_mv=True):
        self.rng = Random(seed)
        self.image = Image()
        self.s = Session(self.image, self.rng, use_mv)
        self.target = target

    def own_nodes(self, folder_wanted):
        home = self.image.find(self.s.home())
        return [n for n in home.walk()
                if n.folder == folder_wanted and n.owner == self.s.user]

    def user_step(self):
        s, img, rng = self.s, self.image, self.rng
        folders = self.own_nodes(True)
        files = self.own_nodes(False)
        crowded = img.free_inodes() < 35 or img.free_blocks() < 450
        if crowded and rng.chance(0.6):
            choice = rng.weighted([(3, "rm"), (1, "rmdir")])
        else:
            choice = rng.weighted([(12, "mkdir"), (18, "file"), (8, "rewrite"), (12, "ls"),
                                   (12, "cat"), (8, "cp"), (3, "cp -R"), (6, "mv"), (6, "rm"),
                                   (2, "rmdir"), (3, "cd"), (2, "chmod"), (1, "denied"),
                                   (3, "look")])
        shallow = [f for f in folders if f.depth() < MAX_DEPTH]
        if choice == "mkdir" and shallow:
            s.create(rng.pick(shallow), s.new_name("d"), True)
        elif choice == "file" and shallow:
            node = s.create(rng.pick(shallow), s.new_name("f"), False)
            if node is not None:
                s.write(node, random_length(rng))
        elif choice == "rewrite" and files:
            s.write(rng.pick(files), random_length(rng))
        elif choice == "ls":
            s.ls(rng.pick(folders), rng.chance(0.8))
        elif choice == "cat" and files:
            s.cat(rng.pick(files))
        elif choice == "cp" and files:
            source = rng.pick(files)
            places = [f for f in folders if f.depth() < MAX_DEPTH and f is not source.parent
                      and not (source.name in f.children and f.children[source.name].folder)]
            if places:
                s.cp(source, rng.pick(places))
        elif choice == "cp -R":
            self.copy_tree(folders)
        elif choice == "mv" and files and s.use_mv:
            self.move(rng.pick(files), folders)
        elif choice == "rm" and files:
            s.rm(rng.pick(files))
        elif choice == "rmdir":
            home = img.find(s.home())
            below = [f for f in folders if f is not home]
            if below:
                s.rmdir(rng.pick(below))
        elif choice == "cd":
            s.cd(rng.pick(folders))
            s.ls(img.find(s.home()), True)
            s.cd_home()
        elif choice == "chmod" and files:
            s.chmod(rng.pick(files), "u+x")
        elif choice == "denied":
            s.denied(img.find("/etc"))
        elif choice == "look":
            other = img.find("/home/" + rng.pick([u for u in USERS if u in img.accounts]))
            s.ls(other, True)
            theirs = [n for n in other.walk() if not n.folder]
            if theirs:
                s.cat(rng.pick(theirs))

    def copy_tree(self, folders):
        s, img, rng = self.s, self.image, self.rng
        home = img.find(s.home())
        sources = [f for f in folders if f is not home]
        if not sources:
            return
        source = rng.pick(sources)
        inodes, blocks = img.copy_tree_cost(source)
        places = [f for f in folders if not f.is_inside(source)
                  and source.name not in f.children
                  and f.depth() + 1 + source.height() <= MAX_DEPTH]
        if not places:
            return
        place = rng.pick(places)
        if inodes <= img.free_inodes() and blocks + img.growth(place) <= img.free_blocks():
            s.cp_tree(source, place)

    def move(self, node, folders):
        s, img, rng = self.s, self.image, self.rng
        if rng.chance(0.5):
            places = [f for f in folders if f is not node.parent and f.depth() < MAX_DEPTH
                      and node.name not in f.children]
            if places:
                place = rng.pick(places)
                if img.growth(place) <= img.free_blocks():
                    s.mv(node, place)
        elif img.growth(node.parent) <= img.free_blocks():
            s.mv(node, node.parent, s.new_name("m"))

    def user_session(self, name, steps):
        s = self.s
        s.logout()
        s.login(name)
        for _ in range(steps):
            self.user_step()

    def root_work(self, steps):
        s, img, rng = self.s, self.image, self.rng
        for _ in range(steps):
            homes = [img.find("/home/" + u) for u in USERS if u in img.accounts]
            src, dst = rng.pick(homes), rng.pick(homes)
            trees = [c for c in src.children.values() if c.folder]
            if trees and src is not dst and rng.chance(0.5):
                tree = rng.pick(trees)
                inodes, blocks = img.copy_tree_cost(tree)
                if (tree.name not in dst.children and inodes <= img.free_inodes()
                        and blocks + img.growth(dst) <= img.free_blocks()
                        and dst.depth() + 1 + tree.height() <= MAX_DEPTH):
                    s.cp_tree(tree, dst)
                    continue
            s.ls(src, True)

    def fill(self):
        """Runs the disk full: big files until the datablocks run out, then folders until
        the i-nodes do."""
        s, img = self.s, self.image
        fill = s.create(img.find("/tmp"), "fill", True)
        if fill is None:
            return None
        while True:
            node = s.create(fill, s.new_name("big"), False)
            if node is None:
                break
            saved = img.free_blocks() >= file_blocks(MAX_TEXT) - 1
            s.write(node, MAX_TEXT)
            if not saved:
                break
        while s.create(fill, s.new_name("e"), True) is not None:
            pass
        return fill

    def round(self, first):
        s, img = self.s, self.image
        if first:
            s.start()
            s.login("root")
        else:
            s.mkfs()
        for name in USERS:
            s.adduser(name)
        steps = max(20, self.target // 60)
        for name in USERS:
            self.user_session(name, steps)
        s.logout()
        s.login("root")
        self.root_work(steps // 4)
        fill = self.fill()
        if fill is not None:
            s.ls(fill, True)
            s.rmdir(fill)
        for name in USERS:
            s.deluser(name)

    def build(self):
        first = True
        while first or self.s.commands < self.target - 40:
            self.round(first)
            first = False
        self.s.exit()
        return self.s


def expected_summary(image):
    folders = sum(1 for n in image.root.walk() if n.folder)
    files = sum(1 for n in image.root.walk() if not n.folder)
    return {"folders": folders, "files": files, "used i-nodes": image.inodes,
            "used datablocks": image.blocks, "accounts": len(image.accounts)}


# The full image and the most expensive run of each command kind ------------------------

DEEP = "/home/anna/c3/c4/c5/c6/c7"


def build_full_image():
    """A session that leaves the image full: no free i-node, (nearly) no free datablock.

    anna's home is the longest folder (31 entries after ".." and "."), with the folder chain
    c3 to c8 as its last entry, so that /home/anna/c3/c4/c5/c6/c7/c8 is eight components
    deep; c7 holds two files of 9,999 characters (big1, big2), a small one and c8, so that its
    last datablock is full. /tmp/fill then takes 9,999-character files until the datablocks
    run out and empty folders until the i-nodes do."""
    image = Image()
    s = Session(image, Random(7), True)
    s.start()
    s.login("root")
    for name in USERS:
        s.adduser(name)
    s.logout()
    s.login("anna")
    home = image.find("/home/anna")
    for i in range(30):
        node = s.create(home, "f%02d" % (i + 1), False)
        s.write(node, 150 + 37 * i)
    folder = home
    for level in range(3, 9):
        folder = s.create(folder, "c%d" % level, True)
    c7 = image.find(DEEP)
    for name in ("big1", "big2"):
        s.write(s.create(c7, name, False), MAX_TEXT)
    s.write(s.create(c7, "small1", False), 40)
    s.logout()
    s.login("root")
    s.ls(home, True)
    fill_exactly(s, image)
    s.exit()
    return s, image


def fill_exactly(s, image):
    """Makes /tmp/fill and fills it so that no i-node and no datablock is left: files as
    large as the datablocks allow while every i-node still left can get its one datablock,
    empty folders for the rest."""
    fill = s.create(image.find("/tmp"), "fill", True)

    def growth(count):
        return folder_blocks(count + 1) - folder_blocks(count)

    def reserve(items, count):
        return sum(1 + growth(count + i) for i in range(items))

    while image.free_inodes() > 0:
        count = len(fill.children)
        spare = image.free_blocks() - growth(count) - reserve(image.free_inodes() - 1, count + 1)
        blocks = min(100, spare)
        if blocks >= 2:
            node = s.create(fill, s.new_name("big"), False)
            s.write(node, blocks * BLOCK_SIZE - 1)
        else:
            s.create(fill, s.new_name("e"), True)


class Case:
    """One command kind: what runs before it (in both runs), and the command itself."""

    def __init__(self, kind, user, note):
        self.kind, self.user, self.note = kind, user, note
        self.setup = None
        self.measured = None
        self.prompts = 0


def _room(s, image, inodes, blocks):
    """Setup commands (as root) that free at least this many i-nodes and datablocks, taking
    folders and files out of /tmp/fill from its last entry backwards."""
    fill = image.find("/tmp/fill")
    victims = list(fill.children.values())
    victims.reverse()
    folders = [v for v in victims if v.folder]
    files = [v for v in victims if not v.folder]
    while image.free_blocks() < blocks and files:
        s.rm(files.pop(0))
    while image.free_inodes() < inodes and folders:
        s.rmdir(folders.pop(0))
    while image.free_inodes() < inodes and files:
        s.rm(files.pop(0))


def cases(image):
    """The cases, each with its own copy of the model so that setups can be planned."""
    import copy

    def case(kind, user, note, setup, measured):
        c = Case(kind, user, note)
        img = copy.deepcopy(image)
        s = Session(img, Random(11), True)
        s.login("root")
        setup(s, img)
        if user != "root":
            s.logout()
            s.login(user)
        c.setup = "".join(s.parts)
        start, prompts = len(s.parts), s.prompts
        measured(s, img)
        c.measured = "".join(s.parts[start:])
        c.prompts = s.prompts - prompts
        if kind == "exit":
            c.prompts -= 1  # the run without it shows one more prompt, at the end of input
        return c

    none = lambda s, img: None
    deep = lambda img: img.find(DEEP)
    result = [
        case("empty line", "anna", "an empty command line", none, lambda s, img: s.command("")),
        case("unknown", "anna", "a word that is no command", none,
             lambda s, img: (s.command("frobnicate"), s.key())),
        case("ls -l", "anna", "the longest folder, /home/anna (31 entries)", none,
             lambda s, img: s.ls(img.find("/home/anna"), True)),
        case("ls", "anna", "the same folder in short form", none,
             lambda s, img: s.ls(img.find("/home/anna"), False)),
        case("cd", "anna", "into the eight-deep folder c8", none,
             lambda s, img: s.cd(img.find(DEEP + "/c8"))),
        case("mkdir", "anna", "eight deep, in a folder whose last datablock is full",
             lambda s, img: _room(s, img, 1, 2),
             lambda s, img: s.create(deep(img), "newdir", True)),
        case("vi", "anna", "an empty file, eight deep, its folder growing",
             lambda s, img: _room(s, img, 1, 2),
             lambda s, img: s.create(deep(img), "newfile", False)),
        case("vi -i", "anna", "9,999 characters over a 100-datablock file, eight deep", none,
             lambda s, img: s.write(deep(img).children["big1"], MAX_TEXT)),
        case("cat", "anna", "a 100-datablock file, eight deep", none,
             lambda s, img: s.cat(deep(img).children["big1"])),
        case("cp", "anna", "a 100-datablock file over another, both eight deep", none,
             lambda s, img: (s.command("cp %s/big1 %s/big2" % (DEEP, DEEP)), s.key())),
        case("cp -R", "root", "the tree /home/anna/c3 (9 i-nodes, 208 datablocks) into "
             "/home/ben", lambda s, img: _room(s, img, 9, 208),
             lambda s, img: s.cp_tree(img.find("/home/anna/c3"), img.find("/home/ben"))),
        case("mv", "anna", "a file from eight deep into /home/anna, which grows",
             lambda s, img: _room(s, img, 0, 1),
             lambda s, img: s.mv(deep(img).children["big1"], img.find("/home/anna"))),
        case("rm", "anna", "a 100-datablock file, eight deep, not its folder's last entry",
             none, lambda s, img: s.rm(deep(img).children["big1"])),
        case("rmdir", "root", "the largest tree, /tmp/fill", none,
             lambda s, img: s.rmdir(img.find("/tmp/fill"))),
        case("chmod", "anna", "a file eight deep", none,
             lambda s, img: s.chmod(deep(img).children["big1"], "o-r")),
        case("chown", "root", "the eight-deep folder c8 (the working folder)",
             lambda s, img: s.cd(img.find(DEEP + "/c8")),
             lambda s, img: (s.command("chown ben"), s.key())),
        case("adduser", "root", "a sixth account", lambda s, img: _room(s, img, 2, 2),
             lambda s, img: s.adduser("frank")),
        case("deluser", "root", "anna, the largest home", none,
             lambda s, img: s.deluser("anna")),
        case("mkfs", "root", "formatting the full image", none, lambda s, img: s.mkfs()),
        case("reenter + login", "anna", "logging out and in again", none,
             lambda s, img: (s.logout(), s.login("anna"))),
        case("exit", "anna", "ending the program", none, lambda s, img: s.exit()),
    ]
    return result
