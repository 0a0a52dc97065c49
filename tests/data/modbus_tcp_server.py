#!/usr/bin/python3
"""A Modbus TCP server built on pymodbus, as an independent peer for the
monitor's Modbus TCP transport. Each unit answers reads of input registers
30001-30100 and holding registers 40001-40040; input register 30001+i of
unit N holds 2200 + 10 * N + i, so that a reader can tell units and
registers apart. Prints "listening on PORT" once it accepts connections.

usage: modbus_tcp_server.py UNIT[,UNIT...]
"""
import asyncio
import sys

from pymodbus.datastore import ModbusSequentialDataBlock, ModbusServerContext, ModbusSlaveContext
from pymodbus.server.async_io import ModbusTcpServer


def unit_context(unit):
    # zero_mode: the address on the wire is the register number minus one,
    # as the monitor's master sends it (30001 is 30000).
    inputs = ModbusSequentialDataBlock(30000, [2200 + 10 * unit + i for i in range(100)])
    holding = ModbusSequentialDataBlock(40000, [0] * 40)
    return ModbusSlaveContext(ir=inputs, hr=holding, zero_mode=True)


async def serve(units):
    context = ModbusServerContext(slaves={u: unit_context(u) for u in units}, single=False)
    server = ModbusTcpServer(context, address=("127.0.0.1", 0), ignore_missing_slaves=True)
    task = asyncio.create_task(server.serve_forever())
    while server.server is None:
        await asyncio.sleep(0.01)
    print("listening on", server.server.sockets[0].getsockname()[1], flush=True)
    await task


if __name__ == "__main__":
    asyncio.run(serve([int(u) for u in sys.argv[1].split(",")]))
