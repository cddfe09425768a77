package tovin.engine;

import com.sun.source.tree.BlockTree;
import com.sun.source.tree.ClassTree;
import com.sun.source.tree.CompilationUnitTree;
import com.sun.source.tree.ErroneousTree;
import com.sun.source.tree.MethodTree;
import com.sun.source.tree.Scope;
import com.sun.source.tree.Tree;
import com.sun.source.tree.VariableTree;
import com.sun.source.util.SourcePositions;
import com.sun.source.util.TreePath;
import com.sun.source.util.TreePathScanner;
import com.sun.source.util.Trees;
import javax.lang.model.element.Modifier;

/** Finding trees by position, and what javac's tree API leaves to its users. */
final class Trees2 {
    private Trees2() {
    }

    /**
     * The innermost tree spanning {@code start} to {@code end}; of two that touch there, the one
     * that starts there. The unit's path when none does.
     */
    static TreePath pathAt(Trees trees, CompilationUnitTree unit, int start, int end) {
        SourcePositions positions = trees.getSourcePositions();
        TreePath[] found = {new TreePath(unit)};
        new TreePathScanner<Void, Void>() {
            @Override
            public Void scan(Tree tree, Void v) {
                if (tree == null) {
                    return null;
                }
                long from = positions.getStartPosition(unit, tree);
                long to = positions.getEndPosition(unit, tree);
                if (from < 0 || to < 0 || from > start || to < end) {
                    // Outside: but a tree javac gives no end (an erroneous one) may hold others.
                    if (from >= 0 && to >= 0) {
                        return null;
                    }
                    return super.scan(tree, v);
                }
                found[0] = new TreePath(getCurrentPath(), tree);
                return super.scan(tree, v);
            }

            @Override
            public Void visitErroneous(ErroneousTree node, Void v) {
                return scan(node.getErrorTrees(), v);
            }
        }.scan(new TreePath(unit), null);
        return found[0];
    }

    /** The path of a tree of the unit. */
    static TreePath pathOf(Trees trees, CompilationUnitTree unit, Tree tree) {
        TreePath path = TreePath.getPath(unit, tree);
        return path != null ? path : new TreePath(unit);
    }

    /** javac's scope at the path, or null where it has none (imports, broken declarations). */
    static Scope scope(Trees trees, TreePath path) {
        for (TreePath p = path; p != null; p = p.getParentPath()) {
            try {
                if (p.getLeaf() instanceof CompilationUnitTree) {
                    return null;
                }
                return trees.getScope(p);
            } catch (RuntimeException e) {
                // a tree javac made in recovery: try its parent
            }
        }
        return null;
    }

    /** Whether the code at the path runs without an instance of its innermost class. */
    static boolean isStatic(TreePath path) {
        Tree below = null;
        for (TreePath p = path; p != null; p = p.getParentPath()) {
            if (p.getLeaf() instanceof ClassTree) {
                return below != null && isStaticMember(below);
            }
            below = p.getLeaf();
        }
        return true;
    }

    static boolean isStaticMember(Tree member) {
        if (member instanceof MethodTree method) {
            return method.getModifiers().getFlags().contains(Modifier.STATIC);
        }
        if (member instanceof VariableTree variable) {
            return variable.getModifiers().getFlags().contains(Modifier.STATIC);
        }
        return member instanceof BlockTree block && block.isStatic();
    }
}
