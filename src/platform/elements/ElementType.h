#pragma once
// Element type codes: the int kind every CMElement carries (GetType). One numbering serves the
// whole program: it tells model data, measured data, folders and results apart, and for data
// elements it names the quantity they hold, which decides units, dB conversion and the window
// that opens them. The codes are stored in every project file, so a value here never changes.
namespace ElementType {
enum Code : int
{
    // Model data of the model project.
    AseaModel = 1,  // the analytical SEA model
    ModelData = 21, // the 3D model data under the model element
    HseaModel = 48, // the hybrid SEA model
    GClfData = 49,  // the global coupling loss factors of a hybrid model
    ClfTotalDlfData = 50,
    ClfData = 58,
    TotalDlfData = 59,
    InputPowerData = 60, // also a set of input powers in the input-power dialog
    IntrinsicDlfData = 67,
    FunctionGroup = 70, // a folder of functions: loss factors of a hybrid model, parameters of an SEA model
    CoupledClf = 82,    // a loss factor of subsystems coupled in the model
    UncoupledClf = 83,  // a loss factor over a global coupling only
    ExpTargetErs = 107,
    ModelTargetErs = 108,
    TransmissionClfs = 109,

    // Quantities a model data element keeps as children. The eta matrix shares its code with a
    // measured data set: the two live in different trees and are never looked up in one.
    EtaMatrix = 2,     // the loss-factor matrix per band
    ClfDlfMatrix = 31, // CLFs and total DLFs
    WaveNumber = 35,
    Clf = 36,          // a function of one subsystem pair
    TotalDlf = 42,     // a function of one subsystem
    IntrinsicDlf = 43, // a function of one subsystem

    // Measured data of an experiment project.
    DataSet = 2,
    Excitation = 9,
    StructureChannel = 11,
    AcousticChannel = 12,
    RpmSignal = 19,

    // Experiments of a DAQ project by the kinds of their two subsystems, and their data sets.
    ExpStructureStructure = 72,
    ExpStructureAcoustic = 73,
    ExpAcousticStructure = 74,
    ExpAcousticAcoustic = 75,
    MeasuredDataSet = 84,

    // Quantities of data and result functions.
    InputPower = 3,
    ModalDensity = 4,
    Energy = 5,
    ModalEnergy = 52,
    VibrationLevel = 53,
    Spl = 54,
    DominantPath = 55,
    PowerContribution = 56,
    EnergyRatio = 57,
    Pressure = 64,
    Force = 65,
    Velocity = 66,
    SpectrumMap = 87,         // a subsystem's levels over RPM and frequency
    VibrationComparison = 91, // measured against calculated vibration levels
    SplComparison = 92,       // measured against calculated SPL
    OrderLevels = 93,         // a subsystem's order levels over RPM
    OrderFrequencies = 94,
    SplTable = 96,                   // an SPL table of the SPL folder
    VibrationResultComparison = 104, // two calculated vibration levels side by side
    SplResultComparison = 105,       // two calculated SPLs side by side
    ChannelLevels = 103,             // levels over RPM and frequency, one column per local point
    OrderData = 106,                 // order levels over RPM, one column per local point
    DataCheck = 110,                 // the data check's levels over frequency, one column per channel
    // The calculation of measured data has always written its maps under these codes, and measured
    // data sets in project files carry them: its spectrum map under the channel-levels code, its
    // channel levels under the order-data code, its order data per channel under the data-check code.
    MeasuredSpectrumMap = ChannelLevels,
    MeasuredChannelLevels = OrderData,
    MeasuredOrderData = DataCheck,

    // Folders and result sets.
    ResultSet = 51, // an energy result of a hybrid SEA calculation
    InputEnergyFolder = 88,
    InputPowerFolder = 89,
    RpmResultSet = 90,
    OTResultSet = 95,
    SplFolder = 97,
};
} // namespace ElementType
