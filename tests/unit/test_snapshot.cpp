// TGA snapshots in a fresh temporary working directory: file numbering, header, pixel
// order, exclusive creation, unwritable and unlistable directories, failed writes, and
// one file read back by ImageMagick.
#include "export/snapshot_numbering.h"
#include "export/tga_snapshot.h"
#include "input/keyboard.h"
#include "input/pointer_zoom.h"
#include "viewer_fixture.h"

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <climits>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <set>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr uid_t NOBODY = 65534;

std::vector<uint8_t> readFile(const std::string &name)
{
    std::ifstream in(name, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

std::set<std::string> entries()
{
    std::set<std::string> names;
    for (const auto &entry : fs::directory_iterator(".")) {
        names.insert(entry.path().filename().string());
    }
    return names;
}

void touch(const std::string &name, const std::string &content = "x")
{
    std::ofstream(name, std::ios::binary) << content;
}

// Runs body in a forked child and returns its exit status (or 128 + the signal).
int inChild(const std::function<int()> &body)
{
    std::fflush(nullptr);
    const pid_t pid = fork();
    if (pid == 0) {
        _exit(body());
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

// Nobody can be stopped by permissions, unlike root.
bool becomeNobody() { return setresgid(NOBODY, NOBODY, NOBODY) == 0 && setresuid(NOBODY, NOBODY, NOBODY) == 0; }

// The file the buffer must give: header, then top row first, blue green red.
std::vector<uint8_t> expectedTga(const PixelBuffer &pixels, int width, int height)
{
    std::vector<uint8_t> tga = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                uint8_t(width), uint8_t(width >> 8), uint8_t(height), uint8_t(height >> 8),
                                24, 0x20};
    for (int fileRow = 0; fileRow < height; ++fileRow) {
        const int row = height - 1 - fileRow;
        for (int column = 0; column < width; ++column) {
            const uint8_t *p = pixels.bytes + 3 * (row * width + column);
            tga.insert(tga.end(), {p[2], p[1], p[0]});
        }
    }
    return tga;
}

}  // namespace

class SnapshotTest : public ViewerTest {
protected:
    void SetUp() override
    {
        ViewerTest::SetUp();
        previous = fs::current_path();
        char pattern[] = "/tmp/mandeljulia-snapshot-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        directory = pattern;
        fs::current_path(directory);
        pointAt(MANDEL_WINDOW);
    }
    void TearDown() override
    {
        fs::current_path(previous);
        chmod(directory.c_str(), 0700);
        fs::remove_all(directory);
        ViewerTest::TearDown();
    }

    static void pointAt(int window)
    {
        fakeToolkit.current = window;
        onPointerMove(5, 5);
        resetFakeToolkit(MAIN_WINDOW);
    }

    // A width x height view whose every byte differs from its neighbours: red, green
    // and blue in their own ranges, one value per pixel.
    static void useFixture(PixelBuffer &pixels, int width, int height)
    {
        viewer.viewWidth = width;
        viewer.viewHeight = height;
        ASSERT_TRUE(resizePixelBuffer(pixels, size_t(width) * height * 3));
        for (int i = 0; i < width * height; ++i) {
            pixels.bytes[3 * i] = uint8_t(i + 1);
            pixels.bytes[3 * i + 1] = uint8_t(i + 101);
            pixels.bytes[3 * i + 2] = uint8_t(i + 201);
        }
    }

    fs::path previous;
    std::string directory;
};

struct NumberingCase {
    std::vector<std::string> files;
    std::vector<std::string> directories;
    int highest;
    const char *next;  // null: no snapshot
};

TEST_F(SnapshotTest, NumberingFollowsTheHighestFracNumberOfAnyEntry)
{
    const NumberingCase cases[] = {
        {{}, {}, 0, "frac001.tga"},
        {{"frac001.tga", "frac010.tga"}, {}, 10, "frac011.tga"},  // gaps are not filled
        {{"frac999.tga"}, {}, 999, "frac1000.tga"},
        {{"frac12.txt"}, {}, 12, "frac013.tga"},
        {{}, {"frac7"}, 7, "frac008.tga"},
        {{"frac0042_old.tga"}, {}, 42, "frac043.tga"},
        {{"fractal.tga", "frac", "fra"}, {}, 0, "frac001.tga"},
        {{"Frac050.tga", "FRAC050.TGA", "xfrac9.tga"}, {}, 0, "frac001.tga"},
        {{"frac-5.tga", "frac-2147483648"}, {}, 0, "frac001.tga"},  // negatives never lift it
        {{"frac-5.tga", "frac003.tga"}, {}, 3, "frac004.tga"},
        {{"frac 12.tga", "frac+7"}, {}, 12, "frac013.tga"},  // as atoi: blanks and a sign
        {{"frac9999999.tga"}, {}, 9999999, "frac10000000.tga"},
        {{"frac2147483646.tga"}, {}, 2147483646, "frac2147483647.tga"},
        {{"frac2147483647.tga"}, {}, INT_MAX, nullptr},  // no successor in an int
        {{"frac99999999999.tga"}, {}, INT_MAX, nullptr},  // saturates like atoi's range
    };
    for (const NumberingCase &c : cases) {
        SCOPED_TRACE(c.next ? c.next : "none");
        fs::current_path(previous);
        fs::remove_all(directory);
        fs::create_directory(directory);
        fs::current_path(directory);
        for (const std::string &f : c.files) touch(f);
        for (const std::string &d : c.directories) fs::create_directory(d);
        const std::set<std::string> before = entries();

        EXPECT_EQ(nextSnapshotNumber(), c.highest);
        saveSnapshot();

        std::set<std::string> after = before;
        if (c.next) {
            after.insert(c.next);
            EXPECT_EQ(fs::file_size(c.next), 18u + 3u * 500 * 500);
        }
        EXPECT_EQ(entries(), after);
    }
}

TEST_F(SnapshotTest, KeysSaveTheNextFilesAndPostNothing)
{
    onKeyboard('S', 0, 0);
    EXPECT_EQ(entries(), (std::set<std::string>{"frac001.tga"}));
    onKeyboard('s', 0, 0);
    EXPECT_EQ(entries(), (std::set<std::string>{"frac001.tga", "frac002.tga"}));
    EXPECT_TRUE(fakeToolkit.calls.empty());
    touch("frac999.tga");
    onKeyboard('S', 0, 0);
    onKeyboard('S', 0, 0);
    EXPECT_TRUE(fs::exists("frac1000.tga"));
    EXPECT_TRUE(fs::exists("frac1001.tga"));
}

TEST_F(SnapshotTest, HeaderOfAFiveHundredSquareView)
{
    saveSnapshot();
    const std::vector<uint8_t> file = readFile("frac001.tga");
    ASSERT_EQ(file.size(), 18u + 3u * 500 * 500);
    const std::vector<uint8_t> header(file.begin(), file.begin() + 18);
    EXPECT_EQ(header, (std::vector<uint8_t>{0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xF4, 0x01, 0xF4,
                                            0x01, 24, 0x20}));
}

TEST_F(SnapshotTest, PixelsGoTopRowFirstAsBlueGreenRedFromTheViewUnderThePointer)
{
    for (const int window : {MANDEL_WINDOW, JULIA_WINDOW}) {
        SCOPED_TRACE(window);
        fs::remove("frac001.tga");
        PixelBuffer &pixels = window == MANDEL_WINDOW ? viewer.mandelPixels : viewer.juliaPixels;
        PixelBuffer &other = window == MANDEL_WINDOW ? viewer.juliaPixels : viewer.mandelPixels;
        useFixture(pixels, 5, 3);
        ASSERT_TRUE(resizePixelBuffer(other, pixels.length));
        // Pure red at the bottom-right corner.
        pixels.bytes[3 * (0 * 5 + 4)] = 255;
        pixels.bytes[3 * (0 * 5 + 4) + 1] = 0;
        pixels.bytes[3 * (0 * 5 + 4) + 2] = 0;
        pointAt(window);

        saveSnapshot();
        const std::vector<uint8_t> file = readFile("frac001.tga");
        EXPECT_EQ(file, expectedTga(pixels, 5, 3));
        ASSERT_EQ(file.size(), 18u + 45u);
        // First pixel: top-left (buffer row 2, column 0) as blue, green, red.
        EXPECT_EQ(std::vector<uint8_t>(file.begin() + 18, file.begin() + 21),
                  (std::vector<uint8_t>{211, 111, 11}));
        // Last: bottom-right, pure red.
        EXPECT_EQ(std::vector<uint8_t>(file.end() - 3, file.end()), (std::vector<uint8_t>{0, 0, 255}));
    }
}

TEST_F(SnapshotTest, NoViewUnderThePointerWritesNothing)
{
    for (const int window : {0, int(HELP_WINDOW), int(MAIN_WINDOW)}) {
        fakeToolkit.current = window;
        onPointerMove(1, 1);
        saveSnapshot();
        EXPECT_TRUE(entries().empty()) << window;
    }
}

TEST_F(SnapshotTest, EmptyAndNegativeSizesReadNothingOutsideTheBuffer)
{
    struct {
        int width;
        int height;
        bool header;  // the header alone is written; otherwise no file
    } const cases[] = {{0, 500, true}, {500, 0, true}, {0, 0, true},
                       {-1, 500, false}, {500, -20, false}, {-15, -20, false}};
    for (const auto &c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height));
        fs::remove("frac001.tga");
        viewer.viewWidth = c.width;
        viewer.viewHeight = c.height;
        saveSnapshot();
        if (c.header) {
            const std::vector<uint8_t> file = readFile("frac001.tga");
            ASSERT_EQ(file.size(), 18u);
            EXPECT_EQ(file[12] | file[13] << 8, c.width);
            EXPECT_EQ(file[14] | file[15] << 8, c.height);
        } else {
            EXPECT_TRUE(entries().empty());
        }
    }
    // Sizes larger than the buffer holds (a buffer that could not grow): no file.
    viewer.viewWidth = 501;
    viewer.viewHeight = 500;
    fs::remove("frac001.tga");
    saveSnapshot();
    EXPECT_TRUE(entries().empty());
}

// A directory nobody can list but can write to: the number is 0, so the listing misses
// the existing frac001.tga and the symbolic links planted under the next names; none of
// them is emptied or written through, and the snapshot takes the next free number.
TEST_F(SnapshotTest, ExistingNamesAreNeverOverwrittenWhenTheListingFails)
{
    useFixture(viewer.mandelPixels, 7, 4);
    const std::string victim = directory + "-victim";
    touch(victim, "keep me");
    touch("frac001.tga", "earlier snapshot");
    fs::create_symlink(victim, "frac002.tga");
    fs::create_symlink(directory + "-planted", "frac003.tga");  // dangling
    ASSERT_EQ(chown(directory.c_str(), NOBODY, NOBODY), 0);
    ASSERT_EQ(chmod(directory.c_str(), 0300), 0);  // write and search, no read

    const int status = inChild([] {
        if (!becomeNobody()) return 10;
        if (nextSnapshotNumber() != 0) return 11;
        saveSnapshot();
        return 0;
    });
    chmod(directory.c_str(), 0700);
    EXPECT_EQ(status, 0);

    EXPECT_EQ(readFile("frac001.tga"), (std::vector<uint8_t>{'e', 'a', 'r', 'l', 'i', 'e', 'r', ' ', 's', 'n', 'a',
                                                              'p', 's', 'h', 'o', 't'}));
    EXPECT_EQ(readFile(victim), (std::vector<uint8_t>{'k', 'e', 'e', 'p', ' ', 'm', 'e'}));
    EXPECT_FALSE(fs::exists(directory + "-planted"));
    EXPECT_TRUE(fs::is_symlink("frac002.tga"));
    EXPECT_TRUE(fs::is_symlink("frac003.tga"));
    EXPECT_EQ(readFile("frac004.tga"), expectedTga(viewer.mandelPixels, 7, 4));
    fs::remove(victim);
}

TEST_F(SnapshotTest, ADirectoryUnderTheNextNameIsSkipped)
{
    useFixture(viewer.juliaPixels, 3, 2);
    pointAt(JULIA_WINDOW);
    // A stale listing is what a race looks like; a directory under the name is the
    // same from the writer's side: the name exists.
    fs::create_directory("frac001.tga");
    ASSERT_EQ(chown(directory.c_str(), NOBODY, NOBODY), 0);
    ASSERT_EQ(chmod(directory.c_str(), 0300), 0);
    EXPECT_EQ(inChild([] { return becomeNobody() ? (saveSnapshot(), 0) : 10; }), 0);
    chmod(directory.c_str(), 0700);
    EXPECT_TRUE(fs::is_directory("frac001.tga"));
    EXPECT_EQ(readFile("frac002.tga"), expectedTga(viewer.juliaPixels, 3, 2));
}

TEST_F(SnapshotTest, AnUnwritableDirectoryGetsNoFile)
{
    touch("frac004.tga", "old");
    ASSERT_EQ(chmod(directory.c_str(), 0555), 0);
    const std::set<std::string> before = entries();
    const ViewerState state = viewer;
    const int status = inChild([&] {
        if (!becomeNobody()) return 10;
        saveSnapshot();
        // Nothing of the viewer's state changes either.
        return viewer.pointerWindow == state.pointerWindow && viewer.mandelDirty == state.mandelDirty &&
                       viewer.viewWidth == state.viewWidth && fakeToolkit.calls.empty()
                   ? 0
                   : 12;
    });
    chmod(directory.c_str(), 0700);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(entries(), before);
    EXPECT_EQ(readFile("frac004.tga"), (std::vector<uint8_t>{'o', 'l', 'd'}));
}

// A file-size limit makes the writes fail with EFBIG, as a full disk would make them
// fail: the short file is removed.
TEST_F(SnapshotTest, AFailedWriteLeavesNoShortFile)
{
    touch("frac001.tga", "kept");
    for (const rlim_t limit : {rlim_t(0), rlim_t(17), rlim_t(1000), rlim_t(18 + 3 * 500 * 500 - 1)}) {
        SCOPED_TRACE(limit);
        const int status = inChild([limit] {
            std::signal(SIGXFSZ, SIG_IGN);
            const rlimit fileSize = {limit, limit};
            if (setrlimit(RLIMIT_FSIZE, &fileSize) != 0) return 10;
            saveSnapshot();
            return 0;
        });
        EXPECT_EQ(status, 0);
        EXPECT_EQ(entries(), (std::set<std::string>{"frac001.tga"}));
    }
    EXPECT_EQ(readFile("frac001.tga"), (std::vector<uint8_t>{'k', 'e', 'p', 't'}));
    // Exactly enough room: the file is written whole.
    EXPECT_EQ(inChild([] {
                  std::signal(SIGXFSZ, SIG_IGN);
                  const rlimit fileSize = {18 + 3 * 500 * 500, 18 + 3 * 500 * 500};
                  setrlimit(RLIMIT_FSIZE, &fileSize);
                  saveSnapshot();
                  return 0;
              }),
              0);
    EXPECT_EQ(fs::file_size("frac002.tga"), 18u + 3u * 500 * 500);
}

// ImageMagick decodes the file on its own; its rows come top first as red, green, blue.
TEST_F(SnapshotTest, ImageMagickReadsBackTheBuffer)
{
    useFixture(viewer.mandelPixels, 37, 21);
    saveSnapshot();
    std::FILE *pipe = popen("stream -map rgb -storage-type char frac001.tga - 2>/dev/null", "r");
    ASSERT_NE(pipe, nullptr);
    std::vector<uint8_t> decoded;
    for (int c; (c = std::fgetc(pipe)) != EOF;) decoded.push_back(uint8_t(c));
    ASSERT_EQ(pclose(pipe), 0) << "ImageMagick's stream is needed (scripts/install-deps)";

    std::vector<uint8_t> expected;
    for (int row = 20; row >= 0; --row) {
        const uint8_t *p = viewer.mandelPixels.bytes + 3 * row * 37;
        expected.insert(expected.end(), p, p + 3 * 37);
    }
    EXPECT_EQ(decoded, expected);
}
