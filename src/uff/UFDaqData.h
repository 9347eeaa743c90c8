#pragma once
// The datasets of one measured subsystem in one measurement run of a universal-file import, and the
// functions its experiment keeps, made from them: band and line spectra per local point and RPM,
// levels per RPM and order, and the multi-vector functions the analysis reads. Data blocks are
// read from their files only while their values are computed and are freed again at once.
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "uff/UFReadOptions.h"

class CDAQPPUFData;
class CDAQPPUFIndex;
class CUFLineReader;
class CMElement;
class COctaveManager;
class COrderList;
struct TAG_UFRPMINFO;

class CUFDaqData
{
public:
    static constexpr int kKindStructureLimit = 5; // model kinds below this are structures
    static constexpr int kRespAcceleration = 12;  // ordinate data type of accelerations

    // What the functions of a group are made with.
    struct BuildContext
    {
        int mode = 0;                          // 0 run-up, 1 fixed RPM, 2 order data
        const COctaveManager* bands = nullptr; // the project's bands (rows of the band values)
        const COrderList* orders = nullptr;    // the project's orders
        double orderBandWidth = 50.0;          // Hz around an order line
        double order = 1.0;                    // the order of mode 2
        const TAG_UFRPMINFO* run = nullptr;
        int localPoints = 0; // columns: the local points the sensor assignment gives the subsystem
        // Where the problems met on the way are written (one line each); may be null.
        std::vector<std::string>* notes = nullptr;
    };

    CUFDaqData();
    virtual ~CUFDaqData();
    CUFDaqData(const CUFDaqData&) = delete;
    CUFDaqData& operator=(const CUFDaqData&) = delete;

    void SetSubsystem(const std::string& name, int kind, double property);
    const std::string& GetName() const { return m_name; }
    int GetKind() const { return m_kind; }
    double GetProperty() const { return m_property; }
    void SetProperty(double property) { m_property = property; }
    double GetCoefficient() const { return m_coefficient; }
    void SetCoefficient(double c) { m_coefficient = c; }
    // Non-zero: the scale factor is the root of the coefficient, else the root of 0.5.
    int GetCoefficientSwitch() const { return m_coefficientSwitch; }
    void SetCoefficientSwitch(int on) { m_coefficientSwitch = on; }
    int GetDoubling() const { return m_doubling; }
    void SetDoubling(int on) { m_doubling = on; }
    const std::string& GetDescription() const { return m_description; }
    void SetDescription(const std::string& path) { m_description = path; }
    int GetTimeKey() const { return m_timeKey; }

    // The factor every value is multiplied by: sqrt(coefficient) with the switch on, else
    // sqrt(0.5); a coefficient not above 0 is used as it is.
    double GetScaleFactor() const;

    // Adds a spectrum or order block (owned on success) measured at rpm (spectra) with its
    // structure flag. Refused (false, block not taken) when the group has a time key and the
    // block's time lies farther than tolerance seconds from it.
    bool AddBlock(std::unique_ptr<CDAQPPUFData>& block, double rpm, int structure, int tolerance);
    int GetBlockCount() const { return static_cast<int>(m_blocks.size()); }
    CDAQPPUFData* GetBlock(int i) const;
    double GetBlockRpm(int i) const;
    // The first block at exactly rpm for the point number; null when none.
    CDAQPPUFData* FindBlock(double rpm, int point) const;

    int GetPointCount() const { return static_cast<int>(m_points.size()); }
    int GetPointNumber(int i) const { return m_points.at(static_cast<size_t>(i)); }
    int GetPointIndex(int point) const;
    // Include flag of point i (1 on registration; the data check clears it to leave a point out).
    int GetPointFlag(int i) const { return m_pointFlags.at(static_cast<size_t>(i)); }
    void SetPointFlag(int i, int flag) { m_pointFlags.at(static_cast<size_t>(i)) = flag; }
    // The functions of the group's experiment (see the source); the caller owns them.
    std::vector<std::unique_ptr<CMElement>> BuildFunctions(const BuildContext& context);

    // Deletes the point functions and the blocks.
    void Release();

private:
    struct Block
    {
        std::unique_ptr<CDAQPPUFData> data;
        double rpm = 0.0;
        int structure = 0;
        // The line powers and band values the preload computed (its values freed again), until
        // ReadBlock takes them; bandsReady when the band values are there too.
        std::vector<double> powers;
        std::vector<double> bandValues;
        bool preloaded = false;
        bool bandsReady = false;
        size_t task = SIZE_MAX; // its place in the running preload; SIZE_MAX when it has none
    };
    // What is kept of a point while the group's functions are made: per RPM read, its band values
    // and its levels at the context's orders. The lines themselves are summed as each block is
    // read and then freed.
    struct PointRows
    {
        int blocks = 0;                // blocks added: the most rows the point can have
        int lineCount = -1;            // values per block, set by the first block read
        std::vector<double> lineFreqs; // that block's line frequencies, which the order windows use
        int bandCount = 0;
        std::vector<std::vector<double>> bands; // a row of bandCount values per RPM read
        std::vector<double> orders;             // a row of a level per order of the context per RPM read
        std::unordered_map<double, int> rowOf;
    };
    // Reads the blocks of the points at the RPMs ahead of ReadBlock on every core, in the order
    // ReadBlock takes them, and makes the functions of each RPM once its blocks are taken (see the
    // source). A block that fails there is read and reported by ReadBlock.
    class Preload;
    int RegisterPoint(int point);
    Block* FindBlockEntry(double rpm, int point);
    const Block* FindBlockEntry(double rpm, int point) const;
    // Parses a block's values from its file; false with the reason in error (when given).
    // open: the block's file opened already and shared (null: opened here).
    static bool LoadBlock(const Block& block, std::string* error, const CUFLineReader* open = nullptr);
    // |X|^2 of every line of the block's values, accelerations as velocities.
    static void LinePowers(const CDAQPPUFData& data, std::vector<double>& out);
    struct LineMapping;
    // The lines of the axis mapped onto the bands: made once per axis, kept for the blocks after.
    const LineMapping& MappingFor(const COctaveManager* bands, double min, double df, int count);
    // The values of bandCount bands (0 past the mapped ones) from count line powers of a block.
    void BandValues(const LineMapping& mapping, const CDAQPPUFIndex& index, const double* powers, int count,
                    int bandCount, double* out) const;
    // Reads the block at rpm of a point and keeps its band values and order levels; false when
    // there is no block or it does not read (a note says which).
    // preload: the one running, whose reader of the block ReadBlock waits for (null: none).
    bool ReadBlock(double rpm, int point, const BuildContext& context, Preload* preload = nullptr);
    // The row of a point at rpm; -1 when it has none.
    int FindRow(double rpm, int pointIndex) const;
    // sqrt(2 * sum of the line powers in [c - w/2, c + w/2)) with c = rpm * order / 60.
    static double OrderLevel(const std::vector<double>& freqs, const double* powers, size_t count, double rpm,
                             double order, double width);
    void Note(const BuildContext& context, const std::string& text) const;
    bool PointFits(int point, const BuildContext& context) const;
    void BuildRpmFunctions(const BuildContext& context, std::vector<std::unique_ptr<CMElement>>& out);
    // The line powers of a block and its band values over mapping (null: none made) on the calling
    // thread; false when it does not read.
    bool PreloadBlock(Block& block, const LineMapping* mapping, int bandCount, const COctaveManager* bands,
                      const CUFLineReader* file) const;
    void BuildOrderDataFunction(const BuildContext& context, std::vector<std::unique_ptr<CMElement>>& out);
    std::unique_ptr<CMElement> MakeOrderLevels(const BuildContext& context, const std::vector<double>& rpms) const;

    std::string m_name;
    int m_kind = 0;
    double m_property = 0.0;
    double m_coefficient = 1.0;
    int m_coefficientSwitch = 1;
    int m_doubling = 1;
    std::string m_description;
    std::vector<int> m_points;
    std::vector<int> m_pointFlags;
    // Look-ups that keep a group of many RPMs and points linear to build: point number -> index
    // into m_points; (RPM, point) -> the first block added for them.
    struct RpmPoint
    {
        double rpm;
        int point;
        bool operator==(const RpmPoint& o) const { return rpm == o.rpm && point == o.point; }
    };
    struct RpmPointHash
    {
        size_t operator()(const RpmPoint& k) const;
    };
    std::unordered_map<int, int> m_pointIndex;
    std::unordered_map<RpmPoint, size_t, RpmPointHash> m_blockIndex;
    std::vector<PointRows> m_rows; // parallel to m_points
    int m_timeKey = 0;
    std::vector<Block> m_blocks;
    // The lines of the blocks' axes mapped onto the bands (the blocks of one run share one).
    std::vector<std::unique_ptr<LineMapping>> m_mappings;
    // The files the preload reads, each opened once while the functions are made.
    std::map<std::string, std::unique_ptr<CUFLineReader>> m_files;
};
